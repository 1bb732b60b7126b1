#pragma once

#include "app/file_dialogs.h"
#include "app/frm_load.h"
#include "app/message_boxes.h"
#include "document/map_document.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include <QString>

namespace trelvik::test {

struct ShownMessage
{
    QString Text;
    QString Title;
    MessageIcon Icon = MessageIcon::None;
    MessageButtons Buttons = MessageButtons::Ok;
    // What the owner's file name field held while the box was up.
    QString FilenameShown;
};

// Records every message box and answers the questions from a script (No when it runs out).
class FakeMessageBoxes : public MessageBoxes
{
public:
    MessageAnswer Show(QWidget *owner,
                       const QString &text,
                       const QString &title,
                       MessageIcon icon,
                       MessageButtons buttons) override;

    std::vector<ShownMessage> Shown;
    std::deque<MessageAnswer> Answers;
};

struct ShownDialog
{
    bool Save = false;
    FileDialogRequest Request;
};

// Records every file dialog and answers from a script; an empty script cancels.
class FakeFileDialogs : public FileDialogs
{
public:
    FileDialogAnswer ShowOpen(const FileDialogRequest &request) override;
    FileDialogAnswer ShowSave(const FileDialogRequest &request) override;

    void Choose(const QString &path, int filter = 0) { Answers.push_back({true, path, filter}); }

    std::vector<ShownDialog> Shown;
    std::deque<FileDialogAnswer> Answers;

private:
    FileDialogAnswer Next();
};

// A window wired to the fakes, reading its palettes from the build's program folder.
struct WindowUnderTest
{
    WindowUnderTest();

    FakeMessageBoxes *Messages = nullptr;
    FakeFileDialogs *Dialogs = nullptr;
    std::unique_ptr<frmLoad> Window;

    template <typename T> T *Child(const char *name) const
    {
        return Window->findChild<T *>(QLatin1String(name));
    }
    // Writes `document` to `path` and opens it through File > Open.
    void OpenDocument(const MapDocument &document, const std::string &path);
    // Moves the selector as the user would.
    void SelectPosition(int position);
};

QString Q(const std::string &text);

} // namespace trelvik::test
