// File > New and the two map tools.
#include "controls/insane_progress.h"
#include "frm_load.h"
#include "generator/generate_map.h"
#include "tools/animal_removal.h"
#include "tools/coastal_castle_fix.h"
#include "viewer/composed_view.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>

namespace trelvik {

void frmLoad::mnuFileGenerate_Click()
{
    const NewMapRequest request = DrawNewMapRequest(random_);
    GenerateMap(request.Width, request.Height, request.QuickMode);
}

void frmLoad::GenerateMap(int16_t width, int16_t height, bool quickMode)
{
    Filename->clear();
    LiH->clear();
    LiF->clear();
    setWindowTitle(QStringLiteral("Generating a new map... (%1 x %2) %3")
                       .arg(width)
                       .arg(height)
                       .arg(QLatin1String(ModeName(quickMode))));
    Pro->show();
    SetProgress(0);
    // The caption and the bar reach the screen before the long work holds the thread; user
    // input waits, so no command can run in the middle of a generation.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    random_.SeedFromClock();

    trelvik::GenerateMap(document_, width, height, quickMode, random_,
                         [this](int32_t value) { SetProgress(value); });

    composedView_ = BuildComposedView(document_);
    ShowHeaderInfo();
    VScroll1->setEnabled(true);
    VScroll1_Change();
    Pro->hide();
}

void frmLoad::SetProgress(int value)
{
    // The bar repaints at once, so it moves while the generation holds the window's thread.
    Pro->SetValue(value);
    if (progressObserver_)
        progressObserver_(value);
}

void frmLoad::mnuToolsHarbor_Click()
{
    if (Message(QStringLiteral(
                    "Are you sure you want to convert all buildable castle areas to harbor areas?"),
                MessageIcon::None, MessageButtons::YesNo)
        != MessageAnswer::Yes)
        return;
    const int32_t count = CoastalCastleFix(document_);
    if (count != 0) {
        Message(
            QStringLiteral("There is now %1 new positions for harbors!\r\n\r\nRemember to save!")
                .arg(count),
            MessageIcon::Information);
    } else {
        Message(QStringLiteral("There were no positions to fix"), MessageIcon::Information);
    }
}

void frmLoad::mnuToolsAnimalRemoval_Click()
{
    if (Message(QStringLiteral("Are you sure you want to remove all animals?"), MessageIcon::None,
                MessageButtons::YesNo)
        != MessageAnswer::Yes)
        return;
    RemoveAnimals(document_);
    LiF->clear();
    Message(QStringLiteral("File footer cleared"), MessageIcon::None);
}

} // namespace trelvik
