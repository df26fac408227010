// What the student sees of every window: no caption cut off, and under QT_SCALE_FACTOR=2 (the
// same program run twice by ctest) every window doubles with its pictures drawn at that ratio.
#include "resources/pictures.h"
#include "support/session.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionGroupBox>
#include <QtTest>

#include <memory>

using namespace kvadra;

namespace
{
// Text and room for it, in logical pixels, or an empty string when the control fits.
QString clipped(QWidget *w)
{
    const QFontMetrics fm = w->fontMetrics();
    auto report = [w](int need, int room) {
        return need > room ? QStringLiteral("%1 needs %2 px, has %3")
                                 .arg(w->objectName())
                                 .arg(need)
                                 .arg(room)
                           : QString();
    };
    if (auto *label = qobject_cast<QLabel *>(w)) {
        if (label->text().isEmpty() || !label->pixmap().isNull())
            return {};
        if (label->wordWrap())
            return report(label->heightForWidth(label->width()), label->height());
        return report(label->sizeHint().width(), label->width());
    }
    if (qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w)) {
        const bool radio = qobject_cast<QRadioButton *>(w);
        const QStyle *style = w->style();
        const int mark = style->pixelMetric(radio ? QStyle::PM_ExclusiveIndicatorWidth
                                                  : QStyle::PM_IndicatorWidth,
                                            nullptr, w) +
                         style->pixelMetric(radio ? QStyle::PM_RadioButtonLabelSpacing
                                                  : QStyle::PM_CheckBoxLabelSpacing,
                                            nullptr, w);
        const QString text = static_cast<QAbstractButton *>(w)->text();
        return report(mark + fm.horizontalAdvance(text), w->width());
    }
    if (auto *button = qobject_cast<QPushButton *>(w)) {
        // The bevel's own margin on either side of the caption.
        const int margin = w->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, w);
        return report(fm.horizontalAdvance(button->text()) + margin, button->width());
    }
    if (auto *frame = qobject_cast<QGroupBox *>(w)) {
        if (frame->title().isEmpty())
            return {};
        QStyleOptionGroupBox option;
        option.initFrom(frame);
        option.text = frame->title();
        option.subControls = QStyle::SC_GroupBoxLabel;
        const QRect label = w->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                       QStyle::SC_GroupBoxLabel, frame);
        return report(label.x() + fm.horizontalAdvance(frame->title()), frame->width());
    }
    return {};
}

// The picture as drawn at the ratio, on the white face it sits on.
QImage onWhite(const QString &name, qreal ratio)
{
    QImage image(pictureSize(name) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter(&image).drawPixmap(0, 0, picture(name, ratio));
    return image;
}

// The device pixels of the picture inside a grab of a widget.
QImage crop(QWidget *w, const QRect &logical)
{
    const QImage shot = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal r = shot.devicePixelRatio();
    return shot.copy(QRect((logical.topLeft() * r), logical.size() * r));
}
} // namespace

class TestDisplay : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_s = std::make_unique<Session>(); }
    void cleanup() { m_s.reset(); }

    // Every window, the calculator for a T network and the lab helper for parameters with
    // the widest measurement captions.
    void nothingClipped()
    {
        m_s->openEverything();
        QStringList cut;
        auto check = [&](const QString &window) {
            for (QWidget *w : m_s->window(window)->findChildren<QWidget *>())
                if (w->isVisible())
                    if (const QString c = clipped(w); !c.isEmpty())
                        cut << window + ": " + c;
        };
        for (const QString &window : m_s->main().windows().openWindows())
            check(window);
        for (const char *parameter : {"y11", "h21", "B"}) {
            m_s->lab(parameter);
            check("lab_helper");
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join("; ")));
    }

    // The pictures on screen are the drawings at the screen's ratio, pixel for pixel: nothing
    // was drawn at 1x and scaled up. Under QT_SCALE_FACTOR=2 the windows are twice as many
    // device pixels as their logical size.
    void picturesAtTheScreenRatio()
    {
        m_s->click("twoport_main", "btnExercise");
        QWidget *selection = m_s->window("exercise_main");
        const qreal ratio = selection->devicePixelRatioF();
        QCOMPARE(ratio, qEnvironmentVariableIntValue("QT_SCALE_FACTOR") == 2 ? 2.0 : 1.0);
        QCOMPARE(selection->grab().size(), selection->size() * ratio);

        auto *button = m_s->control<QPushButton>("exercise_main", "r1r2r3");
        const QSize size = pictureSize("TESTR1R2R3");
        // The picture sits in the middle of the face, as its painter places it.
        QStyleOptionButton option;
        option.initFrom(button);
        const QRect face =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        const QPoint at(face.x() + (face.width() - size.width()) / 2,
                        face.y() + (face.height() - size.height()) / 2);
        QCOMPARE(crop(button, QRect(at, size)), onWhite("TESTR1R2R3", ratio));

        m_s->click("exercise_main", "r1r2r3");
        QWidget *schematic = m_s->control("exercise_calc", "picSchem");
        QCOMPARE(crop(schematic, QRect(QPoint(), size)), onWhite("TESTR1R2R3", ratio));

        m_s->lab("h21");
        QWidget *setup = m_s->control("lab_helper", "picLab");
        QCOMPARE(crop(setup, QRect(QPoint(), pictureSize("LABH21"))), onWhite("LABH21", ratio));
    }

private:
    std::unique_ptr<Session> m_s;
};

KVADRA_TEST_MAIN(TestDisplay)

#include "tst_display.moc"
