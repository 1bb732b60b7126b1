#include "app_test_support.h"

#include "document/map_file.h"
#include "test_maps.h"

#include <QLineEdit>
#include <QScrollBar>

namespace trelvik::test {

MessageAnswer FakeMessageBoxes::Show(QWidget *owner,
                                     const QString &text,
                                     const QString &title,
                                     MessageIcon icon,
                                     MessageButtons buttons)
{
    const QLineEdit *filename =
        owner ? owner->findChild<QLineEdit *>(QStringLiteral("Filename")) : nullptr;
    Shown.push_back({text, title, icon, buttons, filename ? filename->text() : QString()});
    if (buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    if (Answers.empty())
        return MessageAnswer::No;
    const MessageAnswer answer = Answers.front();
    Answers.pop_front();
    return answer;
}

FileDialogAnswer FakeFileDialogs::ShowOpen(const FileDialogRequest &request)
{
    Shown.push_back({false, request});
    return Next();
}

FileDialogAnswer FakeFileDialogs::ShowSave(const FileDialogRequest &request)
{
    Shown.push_back({true, request});
    return Next();
}

FileDialogAnswer FakeFileDialogs::Next()
{
    if (Answers.empty())
        return {};
    const FileDialogAnswer answer = Answers.front();
    Answers.pop_front();
    return answer;
}

WindowUnderTest::WindowUnderTest()
{
    auto messages = std::make_unique<FakeMessageBoxes>();
    auto dialogs = std::make_unique<FakeFileDialogs>();
    Messages = messages.get();
    Dialogs = dialogs.get();
    Window = std::make_unique<frmLoad>(std::move(messages), std::move(dialogs));
    Window->SetProgramDir(QStringLiteral(TRELVIK_PALETTE_DIR));
    Window->SetAboutHook({});
}

void WindowUnderTest::OpenDocument(const MapDocument &document, const std::string &path)
{
    WriteBytes(path, WriteMapBytes(document));
    Dialogs->Choose(Q(path));
    Window->mnuFileOpen_Click();
}

void WindowUnderTest::SelectPosition(int position)
{
    Child<QScrollBar>("VScroll1")->setValue(position);
}

QString Q(const std::string &text)
{
    return QString::fromStdString(text);
}

} // namespace trelvik::test
