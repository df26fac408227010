// What reaches a student on their own desktop: every text readable against what lies behind it,
// under the light palette and under a dark one handed out after start-up; the program's own face
// whatever font the desktop hands out; a long result that never reads as another number.
#include "driver/darkpalette.h"
#include "shell/application.h"
#include "shell/resultbox.h"
#include "support/session.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionGroupBox>
#include <QtTest>

#include <cmath>
#include <memory>

using namespace kvadra;

namespace
{
double luminance(QRgb c)
{
    auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}

double contrast(QRgb a, QRgb b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The text in an area of a window's picture against what lies behind it: the commonest colour
// is the background, the pixel of the strongest contrast to it the core of the text.
double textContrast(const QImage &shot, const QRect &area)
{
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[shot.pixel(x, y)];
    QRgb background = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most)
            most = it.value(), background = it.key();
    double best = 1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        best = std::max(best, contrast(it.key(), background));
    return best;
}

// Where a control's text lies, in its own coordinates; empty for a control without text.
QRect textArea(QWidget *w)
{
    QStyleOption option;
    option.initFrom(w);
    if (auto *frame = qobject_cast<QGroupBox *>(w)) {
        if (frame->title().isEmpty())
            return {};
        QStyleOptionGroupBox box;
        box.initFrom(frame);
        box.text = frame->title();
        box.subControls = QStyle::SC_GroupBoxLabel;
        return w->style()->subControlRect(QStyle::CC_GroupBox, &box, QStyle::SC_GroupBoxLabel,
                                          frame);
    }
    if (auto *label = qobject_cast<QLabel *>(w))
        return label->text().isEmpty() ? QRect() : label->contentsRect();
    if (qobject_cast<QRadioButton *>(w))
        return w->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, w);
    if (qobject_cast<QCheckBox *>(w))
        return w->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, w);
    if (auto *button = qobject_cast<QPushButton *>(w))
        return button->text().isEmpty() ? QRect() : w->rect().adjusted(4, 4, -4, -4);
    if (auto *box = qobject_cast<QLineEdit *>(w))
        return box->text().isEmpty() ? QRect() : w->rect().adjusted(3, 3, -3, -3);
    return {};
}
} // namespace

class TestDesktop : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_s = std::make_unique<Session>();
        m_s->openEverything();
        m_s->lab("B");
    }
    void cleanup()
    {
        m_s.reset();
        QApplication::setPalette(QApplication::style()->standardPalette());
        QApplication::setFont(programFont());
    }

    void everyTextReadable_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light desktop") << false;
        QTest::newRow("dark desktop handed out after start-up") << true;
    }
    void everyTextReadable()
    {
        QFETCH(bool, dark);
        if (dark)
            QApplication::setPalette(darkPalette());
        // The change reaches the windows through posted events.
        QCoreApplication::processEvents();
        QStringList faint;
        for (const QString &name : m_s->openWindows()) {
            QWidget *window = m_s->window(name);
            // Selected text is drawn in the desktop's highlight colours, not ours.
            for (QLineEdit *box : window->findChildren<QLineEdit *>())
                box->deselect();
            const QImage shot = window->grab().toImage();
            const qreal ratio = shot.devicePixelRatio();
            for (QWidget *w : window->findChildren<QWidget *>()) {
                const QRect area = textArea(w);
                // Disabled controls and the labels of absent elements are grey on purpose.
                if (area.isEmpty() || !w->isVisible() || !w->isEnabled() ||
                    w->palette().color(QPalette::WindowText) == QColor(200, 200, 200))
                    continue;
                const QRectF inShot(QPointF(w->mapTo(window, area.topLeft())) * ratio,
                                    QSizeF(area.size()) * ratio);
                const double c = textContrast(shot, inShot.toRect());
                // The red notice's colour is fixed by design.
                const double needed = w->objectName() == "Label2" ? 3 : 4.5;
                if (c < needed)
                    faint << QStringLiteral("%1.%2 %3:1")
                                 .arg(name, w->objectName())
                                 .arg(c, 0, 'f', 2);
            }
        }
        QVERIFY2(faint.isEmpty(), qPrintable(faint.join(", ")));
    }

    // A platform theme (qt6ct, a desktop's settings daemon) may hand out its own font after
    // start-up; the fixed layouts keep the program's face, so nothing can be cut off.
    void faceSurvivesADesktopFont()
    {
        const QFont ours = programFont();
        QApplication::setFont(QFont(QStringLiteral("DejaVu Serif"), 16));
        QCoreApplication::processEvents();
        QStringList changed;
        for (const QString &name : m_s->openWindows())
            for (QWidget *w : m_s->window(name)->findChildren<QWidget *>())
                if (w->font().family() != ours.family() ||
                    w->font().pointSizeF() != ours.pointSizeF())
                    changed << name + "." + w->objectName();
        QVERIFY2(changed.isEmpty(), qPrintable(changed.join(", ")));
    }

    // What the box paints, not only its text: the whole value stays in the text, and the ink of
    // what is shown ends inside the box, with its power of ten.
    void longResultKeepsItsPowerOfTen_data()
    {
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("small conductance") << QStringList{"1000000", "2000000", "3000000"} << "y11"
                                           << "4.54545454545455E-07"
                                           << "4.5…E-07";
        QTest::newRow("large plain number") << QStringList{"123456789012", "1", "1"} << "z11"
                                            << "123456789013"
                                            << "1…E+11";
    }
    void longResultKeepsItsPowerOfTen()
    {
        QFETCH(QStringList, values);
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        m_s->exercise("R1R2R3", values);
        auto *result = m_s->control<ResultBox>("exercise_calc", box);
        QCOMPARE(result->text(), text);
        QCOMPARE(result->shownText(), shown);
        // It paints just what a plain box holding the shortened text paints, and that text fits.
        QLineEdit plain(result->shownText());
        plain.setReadOnly(true);
        plain.setFont(result->font());
        plain.setPalette(result->palette());
        plain.resize(result->size());
        plain.setCursorPosition(0);
        // Inside the border: the corners show what lies behind each box.
        auto inside = [](QWidget *w) {
            const QImage shot = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const int r = int(shot.devicePixelRatio());
            return shot.copy(QRect(2 * r, 2 * r, shot.width() - 4 * r, shot.height() - 4 * r));
        };
        QCOMPARE(inside(result), inside(&plain));
        // A text that does not fit scrolls when the cursor goes to its end.
        const QImage start = inside(&plain);
        plain.end(false);
        QCOMPARE(inside(&plain), start);
    }

private:
    std::unique_ptr<Session> m_s;
};

KVADRA_TEST_MAIN(TestDesktop)

#include "tst_desktop.moc"
