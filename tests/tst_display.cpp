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

#include <cstring>

#include <memory>

using namespace kvadra;

namespace
{
// Text and room for it, in logical pixels, or an empty string when the control fits.
QString clipped(QWidget *w)
{
    const QFontMetrics fm = w->fontMetrics();
    const QStyle *style = w->style();
    int need = 0, room = w->width();
    if (auto *label = qobject_cast<QLabel *>(w); label && label->pixmap().isNull()) {
        need = label->wordWrap() ? label->heightForWidth(room) : label->sizeHint().width();
        room = label->wordWrap() ? label->height() : room;
    } else if (qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w)) {
        const bool radio = qobject_cast<QRadioButton *>(w);
        need = style->pixelMetric(radio ? QStyle::PM_ExclusiveIndicatorWidth
                                        : QStyle::PM_IndicatorWidth) +
               style->pixelMetric(radio ? QStyle::PM_RadioButtonLabelSpacing
                                        : QStyle::PM_CheckBoxLabelSpacing) +
               fm.horizontalAdvance(static_cast<QAbstractButton *>(w)->text());
    } else if (auto *button = qobject_cast<QPushButton *>(w)) {
        // The bevel's own margin on either side of the caption.
        need = fm.horizontalAdvance(button->text()) + style->pixelMetric(QStyle::PM_ButtonMargin);
    } else if (auto *frame = qobject_cast<QGroupBox *>(w); frame && !frame->title().isEmpty()) {
        QStyleOptionGroupBox option;
        option.initFrom(frame);
        option.text = frame->title();
        option.subControls = QStyle::SC_GroupBoxLabel;
        need = style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, frame)
                   .x() +
               fm.horizontalAdvance(frame->title());
    }
    return need > room
               ? QStringLiteral("%1 needs %2 px, has %3").arg(w->objectName()).arg(need).arg(room)
               : QString();
}

// Whether the picture drawn at the widget's ratio appears in a grab of it, device pixel for
// device pixel.
bool shows(QWidget *w, const QString &name)
{
    const QImage shot = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage drawn =
        picture(name, shot.devicePixelRatio()).toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y + drawn.height() <= shot.height(); ++y)
        for (int x = 0; x + drawn.width() <= shot.width(); ++x) {
            int row = 0;
            while (row < drawn.height() &&
                   std::memcmp(shot.constScanLine(y + row) + 4 * x, drawn.constScanLine(row),
                               4 * drawn.width()) == 0)
                ++row;
            if (row == drawn.height())
                return true;
        }
    return false;
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
        for (const QString &window : m_s->openWindows())
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

        QVERIFY(shows(m_s->control("exercise_main", "r1r2r3"), "TESTR1R2R3"));
        m_s->click("exercise_main", "r1r2r3");
        QVERIFY(shows(m_s->control("exercise_calc", "picSchem"), "TESTR1R2R3"));
        m_s->lab("h21");
        QVERIFY(shows(m_s->control("lab_helper", "picLab"), "LABH21"));
    }

private:
    std::unique_ptr<Session> m_s;
};

KVADRA_TEST_MAIN(TestDisplay)

#include "tst_display.moc"
