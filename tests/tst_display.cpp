// What the student sees of every window: no caption cut off and every text readable against what
// lies behind it, also under a dark palette or a font the desktop hands out after start-up; under
// QT_SCALE_FACTOR=2 (the same program run twice by ctest) every window doubles with its pictures
// drawn at that ratio; a long result never reads as another number.
#include "driver/darkpalette.h"
#include "resources/pictures.h"
#include "shell/resultbox.h"
#include "support/session.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionGroupBox>
#include <QtTest>

#include <algorithm>
#include <cmath>

using namespace kvadra;

namespace
{
// A control's text and where it lies, in the control's own coordinates: a frame's caption, what a
// label, an option or a button says, what a box holds.
std::pair<QString, QRect> textOf(QWidget *w)
{
    QStyleOption option;
    option.initFrom(w);
    const QStyle *style = w->style();
    if (auto *frame = qobject_cast<QGroupBox *>(w)) {
        QStyleOptionGroupBox box;
        box.initFrom(frame);
        box.text = frame->title();
        box.subControls = QStyle::SC_GroupBoxLabel;
        return {frame->title(),
                style->subControlRect(QStyle::CC_GroupBox, &box, QStyle::SC_GroupBoxLabel, frame)};
    }
    if (auto *label = qobject_cast<QLabel *>(w))
        return {label->text(), label->contentsRect()};
    if (auto *radio = qobject_cast<QRadioButton *>(w))
        return {radio->text(), style->subElementRect(QStyle::SE_RadioButtonContents, &option, w)};
    if (auto *check = qobject_cast<QCheckBox *>(w))
        return {check->text(), style->subElementRect(QStyle::SE_CheckBoxContents, &option, w)};
    // The bevel's own margin shared on either side of the caption.
    const int margin = style->pixelMetric(QStyle::PM_ButtonMargin) / 2;
    if (auto *button = qobject_cast<QPushButton *>(w))
        return {button->text(), w->rect().adjusted(margin, 4, -margin, -4)};
    if (auto *box = qobject_cast<QLineEdit *>(w))
        return {box->text(), w->rect().adjusted(3, 3, -3, -3)};
    return {};
}

// The text in an area of a window's picture against what lies behind it: the commonest colour
// is the background, the pixel of the strongest contrast to it the core of the text.
double textContrast(const QImage &shot, const QRect &area)
{
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[shot.pixel(x, y)];
    if (counts.isEmpty())
        return 1;
    const QRgb background =
        std::max_element(counts.keyValueBegin(), counts.keyValueEnd(), [](auto a, auto b) {
            return a.second < b.second;
        })->first;
    auto luminance = [](QRgb c) {
        auto linear = [](int v) {
            const double s = v / 255.0;
            return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) + 0.0722 * linear(qBlue(c));
    };
    double best = 1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        const double la = luminance(it.key()), lb = luminance(background);
        best = std::max(best, (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05));
    }
    return best;
}

// Whether the picture drawn at the widget's ratio appears in a grab of it, device pixel for
// device pixel.
bool shows(QWidget *w, const QString &name)
{
    const QImage shot = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage drawn =
        picture(name, shot.devicePixelRatio()).toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y + drawn.height() <= shot.height(); ++y)
        for (int x = 0; x + drawn.width() <= shot.width(); ++x)
            if (shot.pixel(x, y) == drawn.pixel(0, 0) &&
                shot.copy(x, y, drawn.width(), drawn.height()) == drawn)
                return true;
    return false;
}
} // namespace

class TestDisplay : public SessionTest
{
    Q_OBJECT
private slots:
    void init()
    {
        SessionTest::init();
        m_s->openEverything();
    }
    void cleanup()
    {
        SessionTest::cleanup();
        QApplication::setPalette(QApplication::style()->standardPalette());
        QApplication::setFont(programFont());
    }

    // Every window, and the lab helper again for the parameters with the widest captions. A
    // platform theme (qt6ct, a desktop's settings daemon) may hand out its palette or its font
    // after start-up; the fixed layouts keep the program's face, so nothing can be cut off.
    void everyCaptionWholeAndReadable_data()
    {
        // desktopFont: the face handed out after start-up, none: the program's own.
        columns<bool, QString>("dark", "desktopFont");
        QTest::newRow("light desktop") << false << QString();
        QTest::newRow("dark desktop handed out after start-up") << true << QString();
        QTest::newRow("desktop font handed out after start-up") << false << "DejaVu Serif";
    }
    void everyCaptionWholeAndReadable()
    {
        QFETCH(bool, dark);
        QFETCH(QString, desktopFont);
        if (dark)
            QApplication::setPalette(darkPalette());
        if (!desktopFont.isEmpty())
            QApplication::setFont(QFont(desktopFont, 16));
        // The change reaches the windows through posted events.
        QCoreApplication::processEvents();
        QStringList faults;
        auto check = [&](const QString &name) {
            QWidget *window = m_s->window(name);
            // Selected text is drawn in the desktop's highlight colours, not ours.
            for (QLineEdit *box : window->findChildren<QLineEdit *>())
                box->deselect();
            const QImage shot = window->grab().toImage();
            const qreal ratio = shot.devicePixelRatio();
            for (QWidget *w : window->findChildren<QWidget *>()) {
                const auto [text, area] = textOf(w);
                if (!w->isVisible() || text.isEmpty())
                    continue;
                // A box scrolls what it holds; a label wraps or needs its size hint.
                int need = area.left() + w->fontMetrics().horizontalAdvance(text);
                int room = qobject_cast<QGroupBox *>(w) ? w->width() : area.right() + 1;
                if (auto *label = qobject_cast<QLabel *>(w)) {
                    need = label->wordWrap() ? label->heightForWidth(w->width())
                                             : label->sizeHint().width();
                    room = label->wordWrap() ? label->height() : label->width();
                }
                const QString where = name + ": " + w->objectName();
                if (need > room && !qobject_cast<QLineEdit *>(w))
                    faults << where + QStringLiteral(" needs %1 px, has %2").arg(need).arg(room);
                // Disabled controls and the labels of absent elements are grey on purpose.
                if (!w->isEnabled() ||
                    w->palette().color(QPalette::WindowText) == QColor(200, 200, 200))
                    continue;
                const QRectF inShot(QPointF(w->mapTo(window, area.topLeft())) * ratio,
                                    QSizeF(area.size()) * ratio);
                const double c = textContrast(shot, inShot.toRect());
                // The red notice's colour is fixed by design.
                if (c < (w->objectName() == "Label2" ? 3 : 4.5))
                    faults << where + QStringLiteral(" faint, %1:1").arg(c, 0, 'f', 2);
            }
        };
        for (const QString &window : m_s->openWindows())
            check(window);
        for (const char *parameter : {"y11", "h21", "B"}) {
            m_s->lab(parameter);
            check("lab_helper");
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
    }

    // The pictures on screen are the drawings at the screen's ratio, pixel for pixel: nothing
    // was drawn at 1x and scaled up. Under QT_SCALE_FACTOR=2 the windows are twice as many
    // device pixels as their logical size.
    void picturesAtTheScreenRatio()
    {
        QWidget *selection = m_s->window("exercise_main");
        const qreal ratio = selection->devicePixelRatioF();
        QCOMPARE(ratio, qEnvironmentVariableIntValue("QT_SCALE_FACTOR") == 2 ? 2.0 : 1.0);
        QCOMPARE(selection->grab().size(), selection->size() * ratio);
        QVERIFY(shows(m_s->control("exercise_main", "r1r2r3"), "TESTR1R2R3"));
        QVERIFY(shows(m_s->control("exercise_calc", "picSchem"), "TESTR1R2R3"));
        m_s->lab("h21");
        QVERIFY(shows(m_s->control("lab_helper", "picLab"), "LABH21"));
    }

    // What the box paints, not only its text: the whole value stays in the text, and the ink of
    // what is shown ends inside the box, with its power of ten.
    void longResultKeepsItsPowerOfTen_data()
    {
        columns<QStringList, QString, QString, QString>("values", "box", "text", "shown");
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
};

KVADRA_TEST_MAIN(TestDisplay)

#include "tst_display.moc"
