// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/accessibility.h"
#include "controls/ctl_tabs.h"
#include "controls/insane_progress.h"
#include "controls/ole_colour.h"
#include "controls/prop_tab_captions.h"
#include "controls/property_bag.h"
#include "controls/twips.h"
#include "controls/uni_command.h"
#include "controls/uni_host_events.h"
#include "controls/uni_label.h"
#include "controls/uni_text_format.h"
#include "qt_test_fonts.h"

#include <functional>

#include <QAccessible>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMetaEnum>
#include <QPainter>
#include <QPushButton>
#include <QtTest>

using namespace trelvik;
using namespace Qt::StringLiterals;

namespace {

// The values as text, separated by spaces.
template <typename... T> QString Text(const T &...values)
{
    return QStringList{QVariant(values).toString()...}.join(u' ');
}

// The tests are mostly tables of steps written once, as code: STEPS(a, b, ...) makes a row of
// each argument holding the code's text, which names the row, and a function that runs the code
// and gives " = RESULT" (nothing for a call without a result).
template <typename F> QString Shown(F &&f)
{
    if constexpr (std::is_void_v<std::invoke_result_t<F>>)
        return f(), QString();
    else
        return u" = "_s + Text(f());
}
using Step = std::pair<const char *, std::function<QString()>>;
#define STEP(...) Step(#__VA_ARGS__, [&] { return Shown([&] { return __VA_ARGS__; }); })
#define STEPS(...) std::vector<Step>({__VA_OPT__(STEPS_X3(STEPS_EACH(__VA_ARGS__)))})
#define STEPS_EACH(a, ...) STEP(a) __VA_OPT__(, STEPS_AGAIN STEPS_PARENS(__VA_ARGS__))
#define STEPS_AGAIN() STEPS_EACH
#define STEPS_PARENS ()
#define STEPS_X3(...) STEPS_X2(STEPS_X2(STEPS_X2(STEPS_X2(__VA_ARGS__))))
#define STEPS_X2(...) STEPS_X1(STEPS_X1(STEPS_X1(STEPS_X1(__VA_ARGS__))))
#define STEPS_X1(...) STEPS_X0(STEPS_X0(STEPS_X0(STEPS_X0(__VA_ARGS__))))
#define STEPS_X0(...) __VA_ARGS__

// The palette role of a colour, or the colour itself, so that transcripts read as roles.
QString Named(QRgb rgb)
{
    for (int role = 0; role < QPalette::NColorRoles; ++role)
        if (QApplication::palette().color(QPalette::ColorRole(role)).rgb() == rgb)
            return QString::fromLatin1(QMetaEnum::fromType<QPalette::ColorRole>().valueToKey(role));
    return QColor(rgb).name();
}

// Collects signals in order (name, arguments, `extra`) and counts the paints of what it filters.
struct Recorder : QObject
{
    QStringList log;
    int paints = 0;
    std::function<QString()> extra = [] { return QString(); };
    template <typename Sender, typename Signal>
    Recorder &operator()(const Sender *sender, Signal signal, const char *name)
    {
        connect(sender, signal, this, [=, this](auto... values) {
            log << Text(QString::fromLatin1(name), values...) + extra();
        });
        return *this;
    }
    QString Take() { return std::exchange(log, {}).join(u", "); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        return paints += event->type() == QEvent::Paint, false;
    }
};

// Where the bar's picture differs from a full rebuild: index 2 left of the fill's end, 1 right
// of it, 0 on the rounded corners of a bar at least 7 pixels each way (three pixels a corner,
// each k x k device pixels at a pixel ratio of k); colours 3 to 255 black.
QString Mismatch(const InsaneProgress &bar)
{
    const QImage &image = bar.Surface();
    const int w = image.width(), h = image.height(), k = qRound(image.devicePixelRatio());
    for (int i = 0; i < w * h; ++i) {
        const int x = i % w, y = i / w;
        const bool corner = w >= 7 * k && h >= 7 * k
                            && std::min(x, w - 1 - x) / k + std::min(y, h - 1 - y) / k <= 1;
        if (image.pixelIndex(x, y) != (corner ? 0 : x < bar.FillLength() ? 2 : 1))
            return u" (pixel %1,%2 wrong)"_s.arg(x).arg(y);
    }
    return image.colorTable().mid(3) == QList<QRgb>(253, qRgb(0, 0, 0)) ? QString()
                                                                        : u" (colours)"_s;
}

QFocusEvent in(QEvent::FocusIn), out(QEvent::FocusOut);

// What assistive tools learn of a control or tab: role, name, value (and the value interface's
// current, lowest and highest value), states, actions with their keys.
QString Told(QAccessibleInterface *i)
{
    if (i == nullptr)
        return u"nothing"_s;
    const QAccessible::State s = i->state();
    QStringList told{
        QString::fromLatin1(QMetaEnum::fromType<QAccessible::Role>().valueToKey(i->role())),
        u'"' + i->text(QAccessible::Name).replace(u'\n', u"\\n"_s) + u'"',
        i->text(QAccessible::Value)};
    if (QAccessibleValueInterface *v = i->valueInterface())
        told << Text(v->currentValue(), v->minimumValue(), v->maximumValue());
    for (const auto &[on, state] : {std::pair{bool(s.focusable), "focusable"},
                                    {bool(s.focused), "focused"},
                                    {bool(s.selected), "selected"},
                                    {bool(s.defaultButton), "default"},
                                    {bool(s.invalid), "invalid"}})
        if (on)
            told << QString::fromLatin1(state);
    if (QAccessibleActionInterface *a = i->actionInterface())
        for (const QString &action : a->actionNames())
            told << action + u'(' + a->keyBindingsForAction(action).join(u',') + u')';
    return told.join(u' ');
}

QString KeysAndTypes(const PropertyBag &bag)
{
    QStringList keys;
    for (const QString &key : bag.Keys())
        keys << key + u':' + QString::fromLatin1(bag.Read(key, {}).typeName());
    return keys.join(u' ');
}

QString Captions(const ctlTabs &tabs)
{
    QStringList captions;
    for (int i = 1; i <= std::min<int>(tabs.Tabs(), 6); ++i)
        captions << *tabs.Caption(i);
    return Text(captions.join(u','), tabs.Tabs(), tabs.SelectedTab());
}

// A tab strip on a host form of a colour no palette role has, with up to five named tabs.
struct Form
{
    QWidget host;
    ctlTabs &t = *new ctlTabs(&host);
    Recorder notices;
    int redraws = 0;

    explicit Form(QSize size, int tabs = 0)
    {
        host.setPalette(QPalette(QColor(1, 2, 3))), host.resize(size + QSize(20, 20)), host.show();
        t.setGeometry(QRect(QPoint(0, 0), size));
        for (int i = 1; i <= tabs; ++i)
            t.SetTabs(qint16(i)), t.SetTabsWidth(52),
                t.SetCaption(i, u"Info HQ View Animals Areas"_s.section(u' ', i - 1, i - 1));
        t.SetSelectedTab(1), redraws = t.RedrawCount();
        notices(&t, &ctlTabs::PropertyChanged, "")(&t, &ctlTabs::TabClick, "click").extra = [this] {
            return u" w%1"_s.arg(t.TabRects()[size_t(t.SelectedTab() - 1)].width());
        };
    }
    // Notices (TabClick with the selected tab's width then, 53 once redrawn), redraws, state.
    QString State()
    {
        return Text(notices.Take(), u"| redraws"_s,
                    t.RedrawCount() - std::exchange(redraws, t.RedrawCount()), u"|"_s, Captions(t),
                    t.Style(), t.CaptionAlignment(), t.TabsWidth());
    }
};

// The caption page, its own host, on a strip of these captions with the last tab selected.
struct Page : TabCaptionsHost
{
    std::vector<ctlTabs *> selected;
    bool changed = false;
    ctlTabs strip;
    propTabCaptions page{*this};
    QListWidget &list = *page.cmbCaptions();
    std::vector<ctlTabs *> SelectedControls() const override { return selected; }
    void SetChanged(bool isChanged) override { changed = isChanged; }

    explicit Page(const QString &captions)
    {
        const QStringList names = captions.split(u',', Qt::SkipEmptyParts);
        for (int i = 1; i <= names.size(); ++i)
            strip.SetTabs(qint16(i)), strip.SetCaption(i, names[i - 1]),
                strip.SetSelectedTab(qint16(i)), selected = {&strip};
        page.show(), page.SelectionChanged();
    }
    QString State()
    {
        QStringList entries;
        for (int i = 0; i < std::min<int>(list.count(), 6); ++i)
            entries << list.item(i)->text();
        return Text(u"strip"_s, Captions(strip), u"| list"_s, entries.join(u','), list.count(),
                    list.currentRow(), u"| text"_s, page.txtCaption()->text(),
                    page.txtCaption()->selectedText(), u"| told"_s, changed);
    }
    // Runs actions (down, up, add, del: the buttons; rowN: the current row set from outside;
    // type:TEXT: keys typed), then applies the page and opens it again.
    QString Run(const QString &actions)
    {
        for (const QString &action : actions.split(u' ', Qt::SkipEmptyParts))
            if (const int button = int(u"down up add del"_s.split(u' ').indexOf(action));
                button >= 0)
                page.cmd(button)->click();
            else if (action.startsWith(u"row"))
                list.setCurrentRow(action.mid(3).toInt());
            else
                QTest::keyClicks(page.txtCaption(), action.mid(5));
        return QStringList{u"\"%1\": "_s.arg(actions) + State(),
                           (page.ApplyChanges(), u"applied: "_s + State()),
                           (page.SelectionChanged(), u"opened again: "_s + State())}
            .join(u" | ");
    }
};

template <typename Control>
std::unique_ptr<Control> Make(const QString &caption, QSize size = {120, 40})
{
    auto control = std::make_unique<Control>();
    control->resize(size), control->SetCaption(caption);
    return control;
}

// Sends mouse events with Shift held straight to the widget, written as KIND BUTTONS @ X,Y:
// p press, r release, d double click, m move; buttons 1 left, 2 right, 3 both; "p1@10,7".
void Send(QWidget *widget, const QString &events)
{
    for (const QString &e : events.split(u' ')) {
        const auto buttons = Qt::MouseButtons::fromInt(e.mid(1, 1).toInt());
        const QPointF at(e.mid(3).section(u',', 0, 0).toDouble(), e.section(u',', 1).toDouble());
        const auto type =
            QEvent::Type(QEvent::MouseButtonPress + QStringView(u"prdm").indexOf(e[0]));
        const bool move = type == QEvent::MouseMove, release = type == QEvent::MouseButtonRelease;
        QMouseEvent event(type, at, widget->mapToGlobal(at),
                          move ? Qt::NoButton : Qt::MouseButton(buttons.toInt()),
                          release ? Qt::NoButton : buttons, Qt::ShiftModifier);
        QCoreApplication::sendEvent(widget, &event);
    }
}

// What a control raises while `act` runs; for a button each signal ends in the border in use.
QString Watch(UniCaptionWidget *control, const std::function<void()> &act)
{
    using W = UniCaptionWidget;
    using C = UniCommand;
    Recorder r;
    r(control, &W::MouseDown, "down")(control, &W::MouseMove, "move")(control, &W::MouseUp, "up");
    r(control, &W::Click, "click")(control, &W::DblClick, "dbl");
    if (auto *b = qobject_cast<C *>(control))
        r(b, &C::KeyDown, "keydown")(b, &C::KeyPress, "keypress")(b, &C::KeyUp, "keyup").extra =
            [b] { return u"/%1"_s.arg(b->CurrentBorder()); };
    return act(), r.Take();
}

// Properties written, read into a new control and written again: gives the keys, or what differs.
template <typename Control> QString RoundTrip(Control &source, QSize size)
{
    PropertyBag first, second;
    Control copy;
    source.WriteProperties(first), copy.resize(size), copy.ReadProperties(first),
        copy.WriteProperties(second);
    for (const QString &key : first.Keys())
        if (key == u"mouseicon" ? first.Read(key, {}).value<QPixmap>().toImage()
                                      != second.Read(key, {}).value<QPixmap>().toImage()
                                : first.Read(key, {}) != second.Read(key, {}))
            return key;
    if constexpr (requires { copy.AccessKey(); })
        if (copy.AccessKey() != source.AccessKey())
            return u"access key"_s;
    const bool same =
        copy.Surface() == source.Surface() && copy.cursor().shape() == source.cursor().shape();
    return same && second.Keys() == first.Keys() ? first.Keys().join(u' ') : u"picture or cursor"_s;
}

} // namespace

class TestControls : public QObject
{
    Q_OBJECT

    // What a test writes here is compared, once it has passed, with its golden files.
    QStringList lines;
    QList<QImage> cells;

    // Runs the steps, writing a line for each: its code, what it gave and what `after` tells.
    void Run(const std::vector<Step> &steps, const std::function<QString()> &after = {})
    {
        for (const auto &[code, run] : steps) {
            const QString shown = run();
            lines << QString::fromUtf8(code) + shown + (after ? u": "_s + after() : QString());
        }
    }

public:
    static void initMain() { test::UseTestFonts(); }

private slots:
    // Every palette role in a colour of its own and one font, so that a wrong role or font shows.
    void initTestCase()
    {
        const QString missing = test::MissingTestFont();
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
        QPalette palette;
        for (int role = 0; role < QPalette::NColorRoles; ++role)
            palette.setColor(QPalette::ColorRole(role),
                             QColor::fromHsv((role * 137 + 10) % 360, 255, 255 - role % 3 * 80));
        palette.setColor(QPalette::Disabled, QPalette::Text, QColor(1, 2, 3));
        QApplication::setPalette(palette), QApplication::setFont(QFont(u"DejaVu Sans"_s, 9));
        test::UseTestHinting();
    }

    // Compares what a test wrote with tests/data/controls/TEST.txt and TEST.png (pictures one below
    // the other, device pixel for device pixel); TRELVIK_UPDATE_GOLDEN=1 writes them. On a screen
    // scaled by 2 the pictures are TEST@2x.png, and TEST@2x.txt holds the text only where it
    // differs from TEST.txt. What differs is saved.
    void cleanup()
    {
        const QStringList written = std::exchange(lines, {});
        const QList<QImage> parts = std::exchange(cells, {});
        if (QTest::currentTestFailed())
            return;
        int width = 0, height = 0, y = 0;
        for (const QImage &part : parts)
            width = std::max(width, part.width()), height += part.height() + 2;
        QImage sheet(width, height, QImage::Format_RGB32);
        sheet.fill(qRgb(255, 0, 255)); // a ground no control draws with
        for (QImage part : parts)      // drawn unscaled: one device pixel on one pixel of the sheet
            part.setDevicePixelRatio(1),
                QPainter(&sheet).drawImage(0, std::exchange(y, y + part.height() + 2), part);
        const qreal ratio = qApp->devicePixelRatio();
        const QString test = QString::fromLatin1(QTest::currentTestFunction());
        const QString name = test + (ratio == 1 ? QString() : u"@%1x"_s.arg(ratio));
        const QString data = QStringLiteral(TRELVIK_TEST_DATA_DIR "/controls/");
        const QString golden = data + name, shared = data + test + u".txt"_s;
        const QString saved = QCoreApplication::applicationDirPath() + u'/' + name + u"-actual"_s;
        const QByteArray bytes = (written.join(u'\n') + u'\n').toUtf8();
        auto read = [](const QString &path) {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        if (qEnvironmentVariableIntValue("TRELVIK_UPDATE_GOLDEN") == 1) {
            QFile text(golden + u".txt"_s);
            if (shared != text.fileName() && read(shared) == bytes)
                text.remove();
            else if (text.open(QIODevice::WriteOnly))
                text.write(bytes);
            parts.isEmpty() || sheet.save(golden + u".png"_s);
        }
        const QStringList expected =
            QString::fromUtf8(read(QFile::exists(golden + u".txt"_s) ? golden + u".txt"_s : shared))
                .split(u'\n', Qt::SkipEmptyParts);
        const bool pictures =
            parts.isEmpty() || QImage(golden + u".png"_s).convertToFormat(sheet.format()) == sheet;
        QFile savedText(saved + u".txt"_s);
        if ((written != expected || !pictures) && savedText.open(QIODevice::WriteOnly))
            savedText.write(bytes), sheet.save(saved + u".png"_s),
                qWarning("%s.txt/.png differ from %s.txt/.png", qPrintable(saved),
                         qPrintable(golden));
        QCOMPARE(written, expected);
        QVERIFY2(pictures, qPrintable(saved + u".png differs from "_s + golden + u".png"_s));
    }

    // The tests see only the fonts of their own setup, whatever the machine has installed, and
    // each font asked for resolves to the same face everywhere.
    void fonts()
    {
        // Less the generic names that fontconfig lists as families (Windows has none).
        QStringList families = QFontDatabase::families();
        for (const QString &generic : {u"Monospace"_s, u"Sans Serif"_s, u"Serif"_s})
            families.removeAll(generic);
        lines << families.join(u", "_s);
        const QFont asked[] = {QFont(u"Tahoma"_s, 8),
                               QFont(u"Tahoma"_s, 8, QFont::Bold),
                               QFont(u"Arial"_s, 9),
                               QFont(u"DejaVu Serif"_s, 8, QFont::Normal, true),
                               QFont(u"DejaVu Sans"_s, 11, QFont::ExtraLight),
                               QFont(u"DejaVu Serif"_s, 17, QFont::Bold),
                               QApplication::font()};
        for (const QFont &font : asked) {
            const QFontInfo info(font);
            lines << Text(font.family(), font.pointSize(), u"->"_s, info.family(), info.styleName(),
                          info.pixelSize());
        }
    }

    // OLE colours, the property bag, twips, host key codes; caption edits and UTF-16LE bytes.
    void pieces()
    {
        for (int i = 0; i <= 24; ++i)
            lines << Text(u"system colour"_s, i, Named(ResolveOleColour(SystemOleColour(i)).rgb()));
        for (int key = 0; key < Qt::Key_Launch0; key = key == 0xFF ? Qt::Key_Escape : key + 1)
            if (HostKeyCodeOf(key) != 0) // every other key has no code
                lines << Text(u"key code of"_s, QKeySequence(key).toString(), HostKeyCodeOf(key));
        for (const char16_t *text : {u"&x", u"&&word", u"word&", u"&", u"", u"a&&b&c", u"&&&x",
                                     u"&&&", u"&OK &No", u"&Ж", u"a& b"})
            lines << Text(u"access key of"_s, QString::fromUtf16(text),
                          QChar(UniCaption(QString::fromUtf16(text)).AccessKey().value_or(u'-')));
        PropertyBag bag;
        Run(STEPS(Named(ResolveOleColour(0x7F00FF00).rgb()),
                  Named(ResolveOleColour(0x8012340F).rgb()),
                  ResolveOleColour(OleColourFromQColor(QColor(1, 90, 254))) == QColor(1, 90, 254),
                  OleColourFromQColor(QColor(1, 90, 254)), bag.Write(u"TabWide"_s, 70),
                  bag.Write(u"Colour"_s, qint64(-2147483633)), bag.Write(u"TABWIDE"_s, 52),
                  bag.Write(u"Name"_s, u"red"_s), bag.Keys().join(u' '), bag.Read(u"tabwide"_s, 0),
                  bag.Read(u"missing"_s, 17), bag.Contains(u"NAME"_s), bag.Contains(u"Nam"_s),
                  bag.ReadColour(u"COLOUR"_s, 1) == 0x8000000F, bag.ReadColour(u"name"_s, 1),
                  bag.ReadColour(u"missing"_s, 2),
                  (WinRect{10, 20, 15, 30}.toQRect() == QRect(10, 20, 5, 10)), PixelsFromTwips(7.5),
                  PixelsFromTwips(22.5),
                  HostShiftOf(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier),
                  HostShiftOf(Qt::ControlModifier | Qt::MetaModifier)));
        UniCaption c(u"é😀"_s);
        Run(STEPS(c.Caption() == u"é😀"_s, c.CaptionAscW(1), c.CaptionAscB(1),
                  c.SetCaption(u"Hey"_s), c.SetCaptionAscB(0, 0x68), c.SetCaptionLen(2),
                  c.SetCaptionLen(4), c.SetCaptionLen(4), c.SetCaptionAscW(3, -10240),
                  c.SetCaptionAscW(4, 65), c.SetCaptionAscB(3, 0x41), c.SetCaptionAscB(-1, 1),
                  c.CaptionAscW(4) + c.CaptionAscB(4) + c.CaptionAscW(-1), c.SetCaptionLen(-5),
                  c.SetCaptionLen(-1), c.SetCaptionB("A\0B\0C"_ba), c.SetCaptionB("A\0B\0C"_ba),
                  c.DrawnText(), c.SetCaptionLen(3), c.CaptionAscW(2), c.Restore("a\0b\0"_ba, 1000),
                  c.Restore("a\0b\0c"_ba, 1), c.Restore("a\0b"_ba, 1), c.Restore("a\0"_ba, -3),
                  c.SetCaption(u"ab&c"_s), c.SetCaptionLen(3), c.AccessKey().has_value(),
                  c.SetCaption(u"Гора 山 واحة 𝄞"_s), c.DrawnText() == c.Caption()),
            [&] { return Text(c.GetCaptionB().toHex(' '), u"/"_s, c.CaptionLen()); });
    }

    // The fill rounds half to even, the value's decimals kept exactly. A shown bar paints at once
    // and rewrites only the columns between the old and the new end of the fill. Then its
    // properties.
    void progressBar()
    {
        for (const int width : {537, 3, 5, 1, 0, 100, INT_MAX})
            for (const qint64 units : {5000'0000LL, 10000'0000LL, 2500'0000LL, 214'1527LL, 1LL,
                                       20000'0000LL, -10000LL, LLONG_MIN})
                lines << Text(u"fill of"_s, width, u"at"_s, units, u":"_s,
                              ProgressFillLength(width, units));
        InsaneProgress bar, copy;
        bar.resize(537, 19), copy.resize(537, 19), bar.show(), copy.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        Recorder notices;
        notices(&bar, &InsaneProgress::PropertyChanged, "")(&copy, &InsaneProgress::PropertyChanged,
                                                            "copy");
        bar.installEventFilter(&notices);
        PropertyBag bag;
        int redraws = bar.RedrawCount() + copy.RedrawCount(), paints = notices.paints;
        QResizeEvent same(bar.size(), bar.size());
        InsaneProgress *p = &bar;
        auto watch = [&p](InsaneProgress *shown) { p = shown; };
        Run(STEPS(bar.SetValue(5000), bar.SetValue(5000), bar.SetValue(4990), bar.SetValue(10000),
                  bar.SetValue(0), bar.SetValue(3000), QCoreApplication::sendEvent(&bar, &same),
                  bar.SetBarColor(0x000000FF), bar.SetProgColor(0x0000FF00),
                  bar.SetBackColor(0x00FF0000), bar.SetBarColor(0x80000005), bar.resize(7, 7),
                  bar.resize(40, 6), bar.resize(6, 19), bar.SetValueUnits(9223372036854775807LL),
                  bar.resize(1, 1), bar.resize(540, 3), bar.SetValue(-5), bar.SetValue(20000),
                  bar.SetValue(qQNaN()), bar.SetValue(qInf()), bar.SetValue(1.00004),
                  bar.SetValue(1.00006), bar.SetValue(0.00005), bar.SetValue(1234.5678),
                  bar.WriteProperties(bag), bag.Keys().join(u' '), watch(&copy),
                  copy.ReadProperties(bag), copy.resize(200, 19), bag.Write(u"VALUE"_s, 50000),
                  copy.ReadProperties(bag), bag.Write(u"Value"_s, u"abc"_s),
                  copy.ReadProperties(bag), bag.Write(u"Value"_s, -2),
                  bag.Write(u"BarColor"_s, u"red"_s),
                  bag.Write(u"progcolor"_s, qint64(-2147483633)), copy.ReadProperties(bag),
                  copy.ReadProperties({})),
            [&] {
                const int total = bar.RedrawCount() + copy.RedrawCount();
                const QImage &s = p->Surface();
                return Text(u"redraws"_s, total - std::exchange(redraws, total), u"paints"_s,
                            notices.paints - std::exchange(paints, notices.paints), u"columns"_s,
                            p->LastColumnsWritten(), notices.Take(), u"|"_s, Named(s.color(0)),
                            Named(s.color(1)), Named(s.color(2)), p->ValueUnits(), p->FillLength(),
                            s.bytesPerLine())
                       + Mismatch(*p);
            });
    }

    // Pictures of styles, colours, fonts, focus and alignments. Clicks (tab 1 active at 0, 0, 53,
    // 21, the others inset: 53, 1, 104, 20 ...; the first tab holding the point wins), keys and
    // edits; properties through bags, values the setters would refuse falling back to defaults.
    void tabStrip()
    {
        Form fresh(QSize(280, 130)), form(QSize(400, 100), 5), copy(QSize(400, 100));
        ctlTabs &n = fresh.t, &t = form.t, &c = copy.t;
        QFont serif(u"DejaVu Serif"_s, 8, QFont::Normal, true),
            light(u"DejaVu Sans"_s, 11, QFont::ExtraLight);
        serif.setUnderline(true), serif.setStrikeOut(true);
        Run(STEPS(n.Tabs(), fresh.host.setPalette(QPalette(QColor(9, 8, 7))), n.SetTabs(5),
                  n.SetTabsWidth(52), n.SetSelectedTab(2), n.SetStyle(1), n.SetStyle(2),
                  n.SetStyle(3), n.SetStyle(4), n.SetStyle(5), n.SetStyle(6), n.SetStyle(7),
                  n.SetStyle(0), n.SetTabsHeight(40), n.SetCaptionAlignment(0),
                  n.SetCaptionAlignment(1), n.SetCaptionAlignment(2), n.SetCaptionAlignment(3),
                  n.SetCaptionAlignment(5), n.SetCaptionAlignment(6), n.SetCaptionAlignment(7),
                  n.SetCaptionAlignment(8), n.SetTabFont(serif), n.SetTabFontActive(light),
                  n.SetTabColor(0x000000FF), n.SetTabColorActive(0x0000FF00),
                  n.SetTextColor(0x00FF0000), n.SetTextColorActive(0x80000008),
                  QCoreApplication::sendEvent(&n, &in), QCoreApplication::sendEvent(&n, &out),
                  n.SetUseFocusRect(true), QCoreApplication::sendEvent(&n, &in),
                  QCoreApplication::sendEvent(&n, &out)),
            [&] { return cells << n.Surface(), fresh.State(); });
        auto click = [&t](int x, int y, Qt::MouseButton button = Qt::LeftButton) {
            QTest::mouseClick(&t, button, {}, {x, y});
        };
        auto press = [&t](Qt::Key key) { QTest::keyClick(&t, key, Qt::ShiftModifier); };
        auto read = [&c](const QString &key, const QVariant &value) {
            PropertyBag bag;
            bag.Write(key, value), c.ReadProperties(bag);
        };
        PropertyBag bag;
        Run(STEPS(click(0, 10), click(53, 10), click(10, 0), click(10, 21),
                  click(54, 10, Qt::RightButton), click(105, 10), click(52, 10), click(54, 10),
                  t.SetSelectedTab(1), click(120, 0), click(130, 21), click(300, 5), click(5, 60),
                  press(Qt::Key_Left), press(Qt::Key_Up), press(Qt::Key_Right), t.SetSelectedTab(5),
                  press(Qt::Key_Down), press(Qt::Key_Right), press(Qt::Key_Up), press(Qt::Key_A),
                  press(Qt::Key_Home), t.SetSelectedTab(9), t.SetSelectedTab(-3),
                  t.SetSelectedTab(5), t.SetTabs(3), t.SetTabs(6), t.SetTabs(4), t.SetTabs(0),
                  t.SetStyle(8), t.SetStyle(-1), t.SetCaptionAlignment(9),
                  t.SetCaptionAlignment(-1), t.SetCaption(0, u"x"_s), t.SetCaption(5, u"x"_s),
                  t.SetCaption(4, u"New"_s), t.SetStyle(6), t.SetCaptionAlignment(8),
                  t.SetTabColor(1), t.SetTabColorActive(2), t.SetTextColor(3),
                  t.SetTextColorActive(0x80000008), t.SetUseFocusRect(true),
                  t.SetTabFont(QFont(u"DejaVu Serif"_s, 11)), t.SetTabFontActive({}),
                  t.WriteProperties(bag), KeysAndTypes(bag)),
            [&] { return form.State(); });
        Run(STEPS(c.ReadProperties(bag), c.Surface() == t.Surface(), t.SetTabsWidth(0),
                  t.SetTabsHeight(-5), click(398, 10), t.SetTabsWidth(INT_MAX),
                  t.SetTabsHeight(INT_MIN), t.SetTabs(32767), press(Qt::Key_Left),
                  read(u"TABCOUNT"_s, 3), read(u"TABCOUNT"_s, 0), read(u"TABCOUNT"_s, 70000),
                  read(u"TABCOUNT"_s, 32767), read(u"TABSELECTED"_s, 40),
                  read(u"TABSELECTED"_s, -40), read(u"TABSTYLE"_s, 7), read(u"TABSTYLE"_s, 8),
                  read(u"CAPTIONSTYLE"_s, 8), read(u"CAPTIONSTYLE"_s, 9),
                  read(u"CAPTIONSTYLE"_s, -1), read(u"TABWIDE"_s, u"wide"_s),
                  read(u"TABWIDE"_s, -7), read(u"TabCaption2"_s, u"HQ"_s)),
            [&] { return form.State() + u" || "_s + copy.State(); });
    }

    // Layout; edits applied and read back; only typing counts as a change, not the page's own
    // filling of the text box; a new selection read; the list at its limit.
    void captionPage()
    {
        Page empty({}), p(u"Info,HQ,Areas"_s), other(u"A,B"_s);
        lines << Text(empty.page.windowTitle(), empty.page.width(), empty.page.height());
        for (QWidget *w : empty.page.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            lines << Text(w->objectName(), w->property("text"), w->property("autoDefault"), w->x(),
                          w->y(), w->width(), w->height());
        empty.selected = {&empty.strip}; // a page never filled changes nothing, applied or not
        lines << empty.Run(u"down up del type:x"_s);
        for (const QString &row :
             u"Info,HQ/|Info,HQ/type:Map|Info,HQ/row1 type:Q|Info,HQ/row1 add|Info,HQ/add|"
             u"Info,HQ/add row-1 add|Info,HQ,Areas/row2 del|Info,HQ,Areas/row1 del|"
             u"Info,HQ,Areas/row2 del row0 del|HQ/del|Info,HQ,Areas/up|Info,HQ,Areas/down|"
             u"Info,HQ,Areas/row2 down|Info,HQ,Areas/down down down up"_s.split(u'|'))
            lines << Page(row.section(u'/', 0, 0)).Run(row.section(u'/', 1));
        QStringList updating;
        connect(p.page.txtCaption(), &QLineEdit::textChanged, this,
                [&] { updating << Text(p.page.Updating()); });
        const QPoint third = p.list.visualItemRect(p.list.item(2)).center();
        Run(STEPS(QTest::mouseClick(p.list.viewport(), Qt::LeftButton, {}, third),
                  QTest::keyClicks(p.page.txtCaption(), u"x"_s),
                  (p.selected.assign({&other.strip, &p.strip})), p.page.SelectionChanged(),
                  p.list.addItems(QStringList(propTabCaptions::kMaxEntries - 3, u"f"_s)),
                  p.page.cmd(2)->click(), p.changed = false, p.page.cmd(2)->click()),
            [&] {
                return p.State() + u" | updating when the text changed: "_s + updating.join(u',');
            });
    }

    // A label's layouts (alignment 5 is none: the one before stays); buttons pressed at every
    // ClickDepth; edits with their Change notices, drawn at once and before Change is raised.
    void labelsAndButtons()
    {
        auto label = Make<UniLabel>(u"Text"_s, QSize(90, 44));
        UniLabel &l = *label;
        Run(STEPS(l.show(), l.SetAlignment(1), l.SetAlignment(2), l.SetAlignment(5),
                  l.SetAlignment(0), l.SetCaption(u"one two three four five"_s),
                  l.SetWordWrap(true), l.SetAlignment(-1), l.SetWordWrap(false),
                  l.FormatFlags() == (kDtLeft | kDtWordBreak), l.SetAlignment(2),
                  l.SetCaption(u"Top\r\nBottom"_s), l.SetCaption(u"Top\rBottom"_s),
                  l.SetCaption(u"&OK && go"_s), l.SetAlignment(0),
                  l.SetCaption(u"Hi\nA wider second line"_s), l.SetAutoSize(true),
                  l.SetForeColor(l.BackColor()), l.SetForeColor(0x00FF0000), l.SetCaptionLen(3),
                  l.SetAutoSize(false), l.resize(60, 44), l.SetWordWrap(true),
                  l.SetCaption(u"one two three four five"_s), l.SetAutoSize(true),
                  l.SetAlignment(1), l.SetCaption(QString(5000, u'W')), l.SetWordWrap(false)),
            [&] {
                return cells << (l.width() < 1000 ? l.Surface() : QImage()),
                       Text(l.width(), l.height());
            });
        for (int depth = -1; depth < 8; ++depth) {
            auto button = Make<UniCommand>(u"Shift"_s);
            button->SetClickDepth(depth);
            if (depth < 0)
                cells << button->Surface();
            Send(button.get(), u"p1@5,5"_s), cells << button->Surface();
        }
        auto button = Make<UniCommand>(u"Go"_s, QSize(60, 20));
        UniCommand &b = *button;
        QImage before = b.Surface(), atChange;
        int changes = 0;
        connect(&b, &UniCommand::Change, this, [&] { atChange = b.Surface(), ++changes; });
        Run(STEPS(b.show(), b.resize(50, 41), b.resize(50, 10), b.resize(50, 11), b.resize(60, 20),
                  b.SetCaption(u"Go"_s), b.SetCaption(u"Stop"_s), b.SetCaptionLen(4),
                  b.SetCaptionLen(3), b.SetCaptionAscW(0, 'T'), b.SetCaptionAscW(3, 'x'),
                  b.SetCaptionAscB(1, 'x'), b.SetCaptionB("&\0O\0K\0"_ba), b.SetDefault(true),
                  b.SetFillColor(0x000000FF), Send(&b, u"p1@5,5"_s), b.SetBorderUp(0),
                  Send(&b, u"r1@5,5"_s), b.SetBorderUp(9), b.SetBorderDown(6), b.SetDefault(false),
                  b.SetForeColor(b.BackColor()), Send(&b, u"p1@5,5 r1@5,5"_s),
                  Send(&b, u"p1@5,5"_s), QCoreApplication::sendEvent(&b, &out),
                  QCoreApplication::sendEvent(&b, &in), b.SetShowFocus(true), b.SetShowFocus(true),
                  QCoreApplication::sendEvent(&b, &out), QCoreApplication::sendEvent(&b, &in),
                  b.SetShowFocus(false), QCoreApplication::sendEvent(&b, &out),
                  b.SetShowFocus(true), b.SetBackColor(0x00336699), b.SetForeColor(0x00FF0000),
                  b.SetAlignment(0), b.SetFont(QFont(u"DejaVu Serif"_s, 11)), b.SetWordWrap(true),
                  b.SetCaption(u"one two three four"_s), b.SetAutoSize(true), b.SetWordWrap(false),
                  b.SetCaptionB({})),
            [&] {
                const QImage after = b.Surface();
                b.Paint();
                const bool late = b.Surface() != after || (changes > 0 && atChange != after);
                return cells << after,
                       Text(std::exchange(changes, 0), u"changes, redrawn"_s,
                            std::exchange(before, after) != after, u", drawn late"_s, late);
            });
    }

    // Mouse events on labels 160 x 60 (L) and buttons 120 x 40 (B); keys; cursors (none: the
    // container's); Alt and the access key click, every caption edit setting the key again.
    void mouseAndKeys()
    {
        for (const QString &row :
             u"L p1@10.5,7 m1@12,7 r1@12,7|L p1@10,7 r1@160,7 p1@1,1 r1@159.5,59.5|"
             u"L p2@10,7 r2@10,7 m3@5,5|L p1@3,3 r1@3,3 d1@3,3 r1@3,3|L d2@3,3 p1@3,-1 r1@3,-1|"
             u"B p1@10,10 m1@120,10 m1@119.5,39.5 r1@0,0|B p1@10,10 m1@10,-1 r1@10,-1 p1@10,10 "
             u"r1@-0.5,10|B p1@10,10 m3@200,10 m0@200,10|B p2@10,10 r2@10,10 d2@1,1|"
             u"B p1@5,5 r1@5,5 d1@5,5 r1@5,5"_s.split(u'|')) {
            std::unique_ptr<UniCaptionWidget> control =
                row[0] == u'L'
                    ? std::unique_ptr<UniCaptionWidget>(Make<UniLabel>(u"L"_s, {160, 60}))
                    : Make<UniCommand>(u"B"_s);
            lines << row + u": "_s + Watch(control.get(), [&] { Send(control.get(), row.mid(2)); });
        }
        QWidget window;
        UniCommand &ok = *new UniCommand(&window), &other = *new UniCommand(&window);
        QPixmap icon(16, 16);
        auto cursor = [&ok] {
            return Text(ok.testAttribute(Qt::WA_SetCursor),
                        QVariant::fromValue(ok.cursor().shape()));
        };
        for (const int pointer : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, -1, 99})
            lines << Text(u"MousePointer"_s, pointer, (ok.SetMousePointer(pointer), cursor()));
        Run(STEPS(icon.fill(Qt::green), ok.SetMouseIcon(icon), ok.SetMouseIcon({}),
                  ok.SetMouseIcon(icon), ok.SetMousePointer(2), ok.SetMousePointer(99),
                  ok.InitProperties(),
                  Watch(&ok,
                        [&] {
                            QTest::keyClick(&ok, Qt::Key_Space), QTest::keyClick(&ok, Qt::Key_A),
                                QTest::keyClick(&ok, Qt::Key_End);
                        })),
            cursor);
        other.SetCaption(u"&&word"_s), window.show(), window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        int otherClicks = 0;
        connect(&other, &UniCommand::Click, this, [&] { ++otherClicks; });
        auto alt = [&](Qt::Key key) {
            return Watch(&ok, [&] { QTest::keyClick(&window, key, Qt::AltModifier); })
                   + Text(u" | other clicks"_s, otherClicks);
        };
        Run(STEPS(ok.SetCaption(u"&x"_s), alt(Qt::Key_X), alt(Qt::Key_W), ok.SetCaption(u"Yes&"_s),
                  alt(Qt::Key_X), ok.SetCaption(u"&x"_s), ok.SetCaptionAscW(1, 'y'), alt(Qt::Key_Y),
                  alt(Qt::Key_X), ok.SetCaptionLen(0), ok.SetCaptionB("&\0z\0"_ba), alt(Qt::Key_Z),
                  ok.AccessKey() == u'z'));
    }

    // Tab and Backtab move the focus button, strip, button, and keyboard focus shows on the one
    // that has it, the mouse's does not; the screen shows each control's picture as it is. What
    // each control tells assistive tools, the strip's tabs one by one, actions done through them.
    void focusAndAccessibility()
    {
        QWidget window;
        window.setPalette(QPalette(QColor(1, 2, 3))), window.resize(200, 150);
        UniCommand &first = *new UniCommand(&window);
        ctlTabs &tabs = *new ctlTabs(&window);
        UniCommand &last = *new UniCommand(&window);
        UniLabel &label = *new UniLabel(&window);
        InsaneProgress &bar = *new InsaneProgress(&window);
        first.setGeometry(4, 4, 60, 24), tabs.setGeometry(4, 32, 190, 60);
        last.setGeometry(4, 96, 60, 24), label.setGeometry(70, 4, 120, 24);
        bar.setGeometry(70, 100, 120, 14), bar.SetValue(2500.5), tabs.SetTabs(3);
        for (int i = 1; i <= 3; ++i)
            tabs.SetCaption(i, u"Info HQ View"_s.section(u' ', i - 1, i - 1));
        first.SetCaption(u"&First"_s), last.SetCaption(u"Last"_s), label.SetCaption(u"A && B"_s);
        first.setObjectName(u"first"_s), tabs.setObjectName(u"tabs"_s);
        last.setObjectName(u"last"_s), window.show(), window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto key = [](Qt::Key k, Qt::KeyboardModifiers modifiers = {}) {
            QTest::keyClick(QApplication::focusWidget(), k, modifiers);
        };
        auto shown = [](auto *control) {
            return control->grab().toImage().convertToFormat(QImage::Format_RGB32)
                   == control->Surface().convertToFormat(QImage::Format_RGB32);
        };
        Run(STEPS(first.setFocus(), key(Qt::Key_Tab), key(Qt::Key_Right), key(Qt::Key_Tab),
                  key(Qt::Key_Tab, Qt::ShiftModifier),
                  QTest::mouseClick(&first, Qt::LeftButton, {}, {5, 5})),
            [&] {
                return cells << window.grab().toImage(),
                       Text(QApplication::focusWidget()->objectName(), tabs.SelectedTab(),
                            shown(&first), shown(&tabs), shown(&last), shown(&label), shown(&bar));
            });
        QAccessibleInterface *t = QAccessible::queryAccessibleInterface(&tabs),
                             *b = QAccessible::queryAccessibleInterface(&first), *second = nullptr;
        const QString press = QAccessibleActionInterface::pressAction();
        int clicks = 0;
        connect(&first, &UniCommand::Click, this, [&] { ++clicks; });
        InstallAccessibility();
        Run(STEPS(
            Told(t), Told(t->child(0)), Told(t->child(1)), Told(t->child(3)),
            t->indexOfChild(second = t->child(2)), second == t->child(2),
            Told(t->childAt(tabs.mapToGlobal(QPoint(100, 10)).x(),
                            tabs.mapToGlobal(QPoint(100, 10)).y())),
            Told(t->focusChild()), tabs.setFocus(), Told(t->focusChild()),
            second->actionInterface()->doAction(press), tabs.SelectedTab(),
            tabs.SetCaption(3, u"Areas"_s), Told(second), tabs.SetTabs(2), Told(second),
            t->childCount(), Told(b), b->actionInterface()->doAction(press), clicks,
            first.SetDefault(true), first.SetCaption(u"Yes&"_s), Told(b),
            first.SetCaption(u"&&word\r\n&Ünder"_s), Told(b), first.setAccessibleName(u"Named"_s),
            Told(b), Told(QAccessible::queryAccessibleInterface(&label)),
            label.SetCaption(u"Top\rBottom"_s), label.SetCaptionLen(4),
            Told(QAccessible::queryAccessibleInterface(&label)),
            Told(QAccessible::queryAccessibleInterface(&bar)), bar.SetValue(10000),
            Told(QAccessible::queryAccessibleInterface(&bar)),
            QVariant::fromValue(first.focusPolicy()), QVariant::fromValue(tabs.focusPolicy()),
            QVariant::fromValue(label.focusPolicy()), QVariant::fromValue(bar.focusPolicy())));
    }

    // Round trips; an empty bag reads as a new control; stored lengths never pass the bytes.
    void properties()
    {
        auto label = Make<UniLabel>(u"Größe 😀"_s);
        auto button = Make<UniCommand>(u"&Über 😀"_s);
        UniLabel &l = *label;
        UniCommand &b = *button, fresh, read;
        QWidget dark;
        QPixmap icon(16, 16);
        PropertyBag stored, freshBag, readBag;
        Run(STEPS(icon.fill(Qt::green), stored.Write(u"CAPTIONB"_s, "a\0b\0c"_ba),
                  dark.setPalette(QPalette(QColor(u"#203040"_s))),
                  Named(ResolveOleColour(UniLabel(&dark).BackColor()).rgb()),
                  Named(ResolveOleColour(UniCommand(&dark).ForeColor()).rgb()),
                  fresh.setObjectName(u"cmd&Go"_s), read.setObjectName(u"cmd&Go"_s),
                  l.SetAlignment(1), l.SetAutoRedraw(true), l.SetWordWrap(true),
                  l.SetAutoSize(true), l.SetBackColor(SystemOleColour(kColourInfoBackground)),
                  l.SetFont(QFont(u"DejaVu Serif"_s, 17, QFont::Bold)),
                  RoundTrip(l, QSize(l.width(), 1)), b.SetBorderDown(9), b.SetBorderUp(6),
                  b.SetClickDepth(5), b.SetFillColor(SystemOleColour(kColourHighlight)),
                  b.SetMousePointer(11), b.SetShowFocus(true), b.SetMouseIcon(icon),
                  Send(&b, u"p1@5,5 r1@5,5"_s), RoundTrip(b, b.size()), fresh.InitProperties(),
                  read.SetBorderUp(0), read.SetClickDepth(0), read.SetAlignment(0),
                  read.ReadProperties(readBag), fresh.WriteProperties(freshBag),
                  read.WriteProperties(readBag), freshBag.Keys() == readBag.Keys(),
                  read.CurrentBorder() == fresh.CurrentBorder()
                      && read.PressOffset() == fresh.PressOffset(),
                  l.ReadProperties(stored), stored.Write(u"captionlen"_s, 1000000),
                  l.ReadProperties(stored), stored.Write(u"captionlen"_s, 1),
                  l.ReadProperties(stored), stored.Write(u"captionlen"_s, -4),
                  l.ReadProperties(stored), stored.Write(u"captionlen"_s, u"x"_s),
                  l.ReadProperties(stored)),
            [&] { return Text(l.Caption(), l.CaptionLen(), read.Caption()); });
        for (const QString &key : freshBag.Keys())
            QVERIFY2(freshBag.Read(key, {}) == readBag.Read(key, {}), qPrintable(key));
    }
};

QTEST_MAIN(TestControls)
#include "test_controls.moc"
