#include "controls/ctl_tabs.h"
#include "controls/insane_progress.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QTimer>
#include <QWidget>

using namespace trelvik;

namespace {

ctlTabs *AddTabs(QWidget *window, const QRect &geometry, int style, const QStringList &captions)
{
    auto *tabs = new ctlTabs(window);
    tabs->setGeometry(geometry);
    tabs->SetTabs(static_cast<qint16>(captions.size()));
    for (int i = 0; i < captions.size(); ++i)
        tabs->SetCaption(i + 1, captions.at(i));
    tabs->SetStyle(style);
    return tabs;
}

InsaneProgress *AddBar(QWidget *window, const QRect &geometry, double value)
{
    auto *bar = new InsaneProgress(window);
    bar->setGeometry(geometry);
    bar->SetValue(value);
    return bar;
}

void AddLabel(QWidget *window, int x, int y, const QString &text)
{
    auto *label = new QLabel(text, window);
    label->move(x, y);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Trelvik controls"));
    window.resize(980, 700);

    const QStringList panels{QStringLiteral("Info"), QStringLiteral("HQ"), QStringLiteral("View"),
                             QStringLiteral("Animals"), QStringLiteral("Areas")};
    // As the main window uses it: five 52 x 20 tabs along the top.
    AddLabel(&window, 10, 5, QStringLiteral("Style 0, main window tabs, tab 2 active"));
    ctlTabs *main = AddTabs(&window, QRect(10, 25, 300, 110), 0, panels);
    main->SetTabsWidth(52);
    main->SetSelectedTab(2);

    AddLabel(&window, 330, 5, QStringLiteral("New instance (defaults)"));
    auto *fresh = new ctlTabs(&window);
    fresh->setGeometry(QRect(330, 25, 300, 110));

    AddLabel(&window, 650, 5, QStringLiteral("Style 1, last tab active, focus rectangle"));
    ctlTabs *right = AddTabs(&window, QRect(650, 25, 320, 110), 1, panels);
    right->SetTabsWidth(52);
    right->SetUseFocusRect(true);
    right->SetSelectedTab(5);

    AddLabel(&window, 10, 145, QStringLiteral("Style 2, captions top left (0)"));
    ctlTabs *bottom = AddTabs(&window, QRect(10, 165, 300, 110), 2, panels);
    bottom->SetTabsWidth(56);
    bottom->SetTabsHeight(26);
    bottom->SetCaptionAlignment(0);

    AddLabel(&window, 330, 145, QStringLiteral("Style 3, captions bottom right (8), colours"));
    ctlTabs *bottomRight = AddTabs(&window, QRect(330, 165, 300, 110), 3, panels.mid(0, 3));
    bottomRight->SetTabsWidth(80);
    bottomRight->SetTabsHeight(28);
    bottomRight->SetCaptionAlignment(8);
    bottomRight->SetTabColor(0x00804000);
    bottomRight->SetTextColor(0x00FFFFFF);
    bottomRight->SetTabColorActive(0x00C0E0FF);
    bottomRight->SetTextColorActive(0x000000C0);
    bottomRight->SetSelectedTab(2);

    AddLabel(&window, 650, 145, QStringLiteral("Style 4, left side from the top"));
    ctlTabs *left = AddTabs(&window, QRect(650, 165, 320, 150), 4, panels);
    left->SetTabsWidth(70);
    left->SetTabsHeight(22);
    left->SetSelectedTab(3);

    AddLabel(&window, 10, 285, QStringLiteral("Style 5, right side from the top"));
    ctlTabs *rightSide = AddTabs(&window, QRect(10, 305, 300, 150), 5, panels);
    rightSide->SetTabsHeight(24);
    rightSide->SetCaptionAlignment(3);

    AddLabel(&window, 330, 285, QStringLiteral("Style 6, left side to the bottom"));
    ctlTabs *leftBottom = AddTabs(&window, QRect(330, 305, 300, 150), 6, panels);
    leftBottom->SetSelectedTab(5);

    AddLabel(&window, 650, 325, QStringLiteral("Style 7, right side to the bottom"));
    ctlTabs *rightBottom = AddTabs(&window, QRect(650, 345, 320, 150), 7, panels.mid(0, 4));
    rightBottom->SetCaptionAlignment(5);
    rightBottom->SetSelectedTab(1);

    const int barsTop = 480;
    AddLabel(&window, 10, barsTop, QStringLiteral("Progress 0, 5000 (268 of 537), 10000"));
    AddBar(&window, QRect(10, barsTop + 20, 537, 19), 0);
    AddBar(&window, QRect(10, barsTop + 45, 537, 19), 5000);
    AddBar(&window, QRect(10, barsTop + 70, 537, 19), 10000);
    AddLabel(&window, 10, barsTop + 95, QStringLiteral("Red bar, green fill, 2500; height 6"));
    InsaneProgress *red = AddBar(&window, QRect(10, barsTop + 115, 537, 19), 2500);
    red->SetBarColor(0x000000FF);
    red->SetProgColor(0x0000C000);
    red->SetBackColor(0x00000000);
    AddBar(&window, QRect(10, barsTop + 140, 537, 6), 7500);
    AddLabel(&window, 10, barsTop + 155, QStringLiteral("Moving bar"));
    InsaneProgress *moving = AddBar(&window, QRect(10, barsTop + 175, 537, 19), 0);

    QObject::connect(main, &ctlTabs::TabClick, &window, [&window](qint16 oldTab, qint16 newTab) {
        window.setWindowTitle(
            QStringLiteral("Trelvik controls - TabClick %1 -> %2").arg(oldTab).arg(newTab));
    });
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, moving, [moving] {
        moving->SetValue(moving->Value() >= 10000 ? 0 : moving->Value() + 125);
    });
    timer.start(50);

    window.show();
    right->setFocus();

    const QStringList args = QCoreApplication::arguments();
    const qsizetype grab = args.indexOf(QStringLiteral("--grab"));
    if (grab >= 0 && grab + 1 < args.size()) {
        const QString path = args.at(grab + 1);
        QTimer::singleShot(500, &window, [&window, right, path] {
            // Without a window manager the window never becomes active, so hand the strip
            // its focus notice directly to show the focus rectangle in the picture.
            if (!right->hasFocus()) {
                QFocusEvent focusIn(QEvent::FocusIn, Qt::OtherFocusReason);
                QCoreApplication::sendEvent(right, &focusIn);
            }
            const bool saved = window.grab().save(path);
            QCoreApplication::exit(saved ? 0 : 1);
        });
    }
    return QApplication::exec();
}
