#include "controls/ctl_tabs.h"
#include "controls/prop_tab_captions.h"

#include <memory>
#include <random>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using namespace trelvik;

namespace {

class FakeHost : public TabCaptionsHost
{
public:
    std::vector<ctlTabs *> SelectedControls() const override { return selected; }
    void SetChanged(bool isChanged) override { changed = isChanged; }

    std::vector<ctlTabs *> selected;
    bool changed = false;
};

std::unique_ptr<ctlTabs> MakeStrip(const QStringList &captions)
{
    auto strip = std::make_unique<ctlTabs>();
    strip->resize(300, 120);
    strip->SetTabs(static_cast<qint16>(captions.size()));
    for (int i = 0; i < captions.size(); ++i)
        strip->SetCaption(i + 1, captions[i]);
    return strip;
}

QStringList Entries(const propTabCaptions &page)
{
    QStringList entries;
    for (int i = 0; i < page.cmbCaptions()->count(); ++i)
        entries << page.cmbCaptions()->item(i)->text();
    return entries;
}

QStringList StripCaptions(const ctlTabs &strip)
{
    QStringList captions;
    for (int i = 1; i <= strip.Tabs(); ++i)
        captions << strip.Caption(i).value_or(QStringLiteral("<missing>"));
    return captions;
}

// The text box shows the selected entry wholly selected, as after a click on the list.
void VerifyShowsSelection(const propTabCaptions &page)
{
    const int row = page.cmbCaptions()->currentRow();
    QVERIFY(row >= 0);
    const QString entry = page.cmbCaptions()->item(row)->text();
    QCOMPARE(page.txtCaption()->text(), entry);
    if (!entry.isEmpty()) {
        QCOMPARE(page.txtCaption()->selectionStart(), 0);
        QCOMPARE(page.txtCaption()->selectedText(), entry);
    }
}

} // namespace

class PropTabCaptionsTest : public QObject
{
    Q_OBJECT

    FakeHost host_;
    std::unique_ptr<ctlTabs> strip_;
    std::unique_ptr<propTabCaptions> page_;

    // A page opened on a strip with the given captions.
    void Open(const QStringList &captions)
    {
        host_ = FakeHost();
        strip_ = MakeStrip(captions);
        host_.selected = {strip_.get()};
        page_ = std::make_unique<propTabCaptions>(host_);
        page_->show();
        page_->SelectionChanged();
    }

    void Press(int index) { page_->cmd(index)->click(); }

private slots:
    void layoutFollowsTheTwipsTable()
    {
        FakeHost host;
        propTabCaptions page(host);
        QCOMPARE(page.windowTitle(), QStringLiteral("Tab Captions"));
        QCOMPARE(page.lblCaption()->text(), QStringLiteral("Caption:"));
        // Twips / 15, halves to even: 370 -> 24.67 -> 25, 765 -> 51, 2655 -> 177, 735 -> 49.
        QCOMPARE(page.lblCaption()->geometry(), QRect(6, 8, 180, 16));
        QCOMPARE(page.txtCaption()->geometry(), QRect(6, 25, 202, 21));
        QCOMPARE(page.cmbCaptions()->geometry(), QRect(6, 51, 202, 121));
        QCOMPARE(page.cmd(propTabCaptions::kCmdAdd)->geometry(), QRect(6, 177, 49, 22));
        QCOMPARE(page.cmd(propTabCaptions::kCmdUp)->geometry(), QRect(160, 177, 49, 22));
        QCOMPARE(page.cmd(propTabCaptions::kCmdDown)->geometry(), QRect(160, 200, 49, 22));
        QCOMPARE(page.cmd(propTabCaptions::kCmdDelete)->geometry(), QRect(6, 200, 49, 22));
        const QStringList texts = {QStringLiteral("Down"), QStringLiteral("Up"),
                                   QStringLiteral("Add"), QStringLiteral("Delete")};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(page.cmd(i)->text(), texts[i]);
        // Every control lies inside the page.
        for (QWidget *child : page.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            QVERIFY(page.rect().contains(child->geometry()));
    }

    void openingListsTheCaptionsAndSelectsTheFirst()
    {
        Open({QStringLiteral("Info"), QStringLiteral("HQ")});
        QCOMPARE(Entries(*page_), QStringList({QStringLiteral("Info"), QStringLiteral("HQ")}));
        QCOMPARE(page_->cmbCaptions()->currentRow(), 0);
        QCOMPARE(page_->txtCaption()->selectedText(), QStringLiteral("Info"));
        QCOMPARE(page_->txtCaption()->selectionStart(), 0);
        QVERIFY(!host_.changed);
        QVERIFY(!page_->Updating());

        // A second opening replaces the list rather than adding to it, and reads the first of
        // several selected strips only.
        auto other = MakeStrip({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
        host_.selected = {other.get(), strip_.get()};
        page_->SelectionChanged();
        QCOMPARE(Entries(*page_),
                 QStringList({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}));
        QVERIFY(!host_.changed);
    }

    void fillingTheTextBoxIsNotTakenForTyping()
    {
        FakeHost host;
        auto strip = MakeStrip({QStringLiteral("Info"), QStringLiteral("HQ")});
        host.selected = {strip.get()};
        propTabCaptions page(host);
        QList<bool> updatingAtChange;
        connect(page.txtCaption(), &QLineEdit::textChanged, this,
                [&] { updatingAtChange << page.Updating(); });
        page.SelectionChanged();
        QCOMPARE(updatingAtChange, QList<bool>({true}));
        page.cmbCaptions()->setCurrentRow(1);
        QCOMPARE(updatingAtChange, QList<bool>({true, true}));
        QVERIFY(!host.changed);
        QTest::keyClicks(page.txtCaption(), QStringLiteral("x"));
        QCOMPARE(updatingAtChange.last(), false);
        QVERIFY(host.changed);
    }

    void typingRenamesAtOnceAndTheStripOnlyOnApply()
    {
        Open({QStringLiteral("Info"), QStringLiteral("HQ")});
        // The whole caption is selected, so typing replaces it.
        QTest::keyClicks(page_->txtCaption(), QStringLiteral("Map"));
        QCOMPARE(Entries(*page_), QStringList({QStringLiteral("Map"), QStringLiteral("HQ")}));
        QVERIFY(host_.changed);
        QCOMPARE(strip_->Caption(1), QStringLiteral("Info"));

        page_->ApplyChanges();
        QCOMPARE(StripCaptions(*strip_),
                 QStringList({QStringLiteral("Map"), QStringLiteral("HQ")}));
    }

    void clickingAnEntryShowsItSelected()
    {
        Open({QStringLiteral("Info"), QStringLiteral("HQ"), QStringLiteral("Areas")});
        QListWidget *list = page_->cmbCaptions();
        const QRect second = list->visualItemRect(list->item(2));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(list->currentRow(), 2);
        QCOMPARE(page_->txtCaption()->selectedText(), QStringLiteral("Areas"));
        QVERIFY(!host_.changed);
    }

    void addOnTheLastEntryAppendsAnEmptyOne()
    {
        Open({QStringLiteral("Info"), QStringLiteral("HQ")});
        page_->cmbCaptions()->setCurrentRow(1);
        Press(propTabCaptions::kCmdAdd);
        QCOMPARE(Entries(*page_), QStringList({QStringLiteral("Info"), QStringLiteral("HQ"), {}}));
        QCOMPARE(page_->cmbCaptions()->currentRow(), 2);
        QCOMPARE(page_->txtCaption()->text(), QString());
        QVERIFY(host_.changed);

        page_->ApplyChanges();
        QCOMPARE(strip_->Tabs(), 3);
        QCOMPARE(StripCaptions(*strip_),
                 QStringList({QStringLiteral("Info"), QStringLiteral("HQ"), {}}));
    }

    void addInsertsBelowTheSelectionOrAtTheTop()
    {
        Open({QStringLiteral("Info"), QStringLiteral("HQ")});
        Press(propTabCaptions::kCmdAdd);
        QCOMPARE(Entries(*page_), QStringList({QStringLiteral("Info"), {}, QStringLiteral("HQ")}));
        QCOMPARE(page_->cmbCaptions()->currentRow(), 1);

        page_->cmbCaptions()->setCurrentRow(-1);
        Press(propTabCaptions::kCmdAdd);
        QCOMPARE(Entries(*page_),
                 QStringList({{}, QStringLiteral("Info"), {}, QStringLiteral("HQ")}));
        QCOMPARE(page_->cmbCaptions()->currentRow(), 0);
    }

    void deleteKeepsASelectionAndAtLeastOneEntry()
    {
        Open({QStringLiteral("Info"), QStringLiteral("HQ"), QStringLiteral("Areas")});
        strip_->SetSelectedTab(3);
        page_->cmbCaptions()->setCurrentRow(2);
        Press(propTabCaptions::kCmdDelete);
        QCOMPARE(Entries(*page_), QStringList({QStringLiteral("Info"), QStringLiteral("HQ")}));
        QCOMPARE(page_->cmbCaptions()->currentRow(), 1);
        VerifyShowsSelection(*page_);
        QVERIFY(host_.changed);

        // From the middle, the entry that moves up takes the selection.
        page_->cmbCaptions()->setCurrentRow(0);
        Press(propTabCaptions::kCmdDelete);
        QCOMPARE(Entries(*page_), QStringList({QStringLiteral("HQ")}));
        QCOMPARE(page_->cmbCaptions()->currentRow(), 0);
        VerifyShowsSelection(*page_);

        host_.changed = false;
        Press(propTabCaptions::kCmdDelete);
        QCOMPARE(Entries(*page_), QStringList({QStringLiteral("HQ")}));
        QVERIFY(!host_.changed);

        // Shrinking the strip below its selected tab moves the selection onto the last tab.
        QSignalSpy clicks(strip_.get(), &ctlTabs::TabClick);
        page_->ApplyChanges();
        QCOMPARE(StripCaptions(*strip_), QStringList({QStringLiteral("HQ")}));
        QCOMPARE(strip_->SelectedTab(), 1);
        QCOMPARE(clicks.size(), 1);
    }

    void downAndUpStopAtTheEnds()
    {
        Open({QStringLiteral("Info"), QStringLiteral("HQ"), QStringLiteral("Areas")});
        Press(propTabCaptions::kCmdUp);
        QVERIFY(!host_.changed);
        QCOMPARE(page_->cmbCaptions()->currentRow(), 0);

        Press(propTabCaptions::kCmdDown);
        QCOMPARE(Entries(*page_), QStringList({QStringLiteral("HQ"), QStringLiteral("Info"),
                                               QStringLiteral("Areas")}));
        QCOMPARE(page_->cmbCaptions()->currentRow(), 1);
        VerifyShowsSelection(*page_);
        QVERIFY(host_.changed);

        Press(propTabCaptions::kCmdDown);
        QCOMPARE(page_->cmbCaptions()->currentRow(), 2);
        host_.changed = false;
        Press(propTabCaptions::kCmdDown);
        QVERIFY(!host_.changed);
        QCOMPARE(Entries(*page_), QStringList({QStringLiteral("HQ"), QStringLiteral("Areas"),
                                               QStringLiteral("Info")}));

        Press(propTabCaptions::kCmdUp);
        QCOMPARE(Entries(*page_), QStringList({QStringLiteral("HQ"), QStringLiteral("Info"),
                                               QStringLiteral("Areas")}));
        QCOMPARE(page_->cmbCaptions()->currentRow(), 1);
        VerifyShowsSelection(*page_);
        QVERIFY(host_.changed);
    }

    void withoutSelectionOrListNothingChanges()
    {
        FakeHost host;
        propTabCaptions page(host);
        page.SelectionChanged();
        page.ApplyChanges();
        QCOMPARE(page.cmbCaptions()->count(), 0);
        // Buttons and typing on a page never filled touch nothing.
        for (int i = 0; i < 4; ++i)
            if (i != propTabCaptions::kCmdAdd)
                page.cmd(i)->click();
        QTest::keyClicks(page.txtCaption(), QStringLiteral("x"));
        QVERIFY(!host.changed);

        // An apply before the page was filled leaves the strip as it was.
        auto strip = MakeStrip({QStringLiteral("Info"), QStringLiteral("HQ")});
        host.selected = {strip.get()};
        page.ApplyChanges();
        QCOMPARE(StripCaptions(*strip),
                 QStringList({QStringLiteral("Info"), QStringLiteral("HQ")}));
    }

    void addStopsAtTheLargestTabCount()
    {
        Open({QStringLiteral("Info")});
        QStringList filler;
        for (int i = 1; i < propTabCaptions::kMaxEntries - 1; ++i)
            filler << QString::number(i);
        page_->cmbCaptions()->addItems(filler);
        page_->cmbCaptions()->setCurrentRow(0);
        Press(propTabCaptions::kCmdAdd);
        QCOMPARE(page_->cmbCaptions()->count(), 32767);
        host_.changed = false;
        Press(propTabCaptions::kCmdAdd);
        QCOMPARE(page_->cmbCaptions()->count(), 32767);
        QVERIFY(!host_.changed);
    }

    // Random edits over many seeds: the page always keeps an entry selected and shown, and an
    // applied page gives the strip exactly the list, which the page then reads back unchanged.
    void appliedPageMatchesTheListOverRandomEdits()
    {
        for (unsigned seed = 1; seed <= 60; ++seed) {
            std::mt19937 random(seed);
            const int start = 1 + static_cast<int>(random() % 5);
            QStringList captions;
            for (int i = 0; i < start; ++i)
                captions << QStringLiteral("T%1").arg(i);
            Open(captions);
            strip_->SetSelectedTab(static_cast<qint16>(start));
            for (int step = 0; step < 40; ++step) {
                const unsigned action = random() % 6;
                if (action < 4) {
                    Press(static_cast<int>(action));
                } else if (action == 4) {
                    page_->txtCaption()->selectAll();
                    QTest::keyClicks(page_->txtCaption(),
                                     QStringLiteral("c%1").arg(random() % 100));
                } else {
                    page_->cmbCaptions()->setCurrentRow(static_cast<int>(
                        random() % static_cast<unsigned>(page_->cmbCaptions()->count())));
                }
                QVERIFY(page_->cmbCaptions()->count() >= 1);
                // After typing, or a button at its limit, the text box keeps what was typed
                // and is no longer selected, but it always shows the selected entry.
                const int row = page_->cmbCaptions()->currentRow();
                QVERIFY(row >= 0);
                QCOMPARE(page_->txtCaption()->text(), page_->cmbCaptions()->item(row)->text());
            }
            const QStringList entries = Entries(*page_);
            page_->ApplyChanges();
            QCOMPARE(strip_->Tabs(), entries.size());
            QCOMPARE(StripCaptions(*strip_), entries);
            QVERIFY(strip_->SelectedTab() >= 1 && strip_->SelectedTab() <= strip_->Tabs());
            page_->SelectionChanged();
            QCOMPARE(Entries(*page_), entries);
        }
    }
};

QTEST_MAIN(PropTabCaptionsTest)
#include "prop_tab_captions_test.moc"
