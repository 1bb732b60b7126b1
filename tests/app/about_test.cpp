#include "app/frm_about.h"
#include "app/message_boxes.h"
#include "app/sys_info.h"
#include "controls/ole_colour.h"
#include "controls/uni_command.h"
#include "controls/uni_label.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace trelvik;

namespace {

class RecordingMessages : public MessageBoxes
{
public:
    struct Shown
    {
        QString text;
        QString title;
        MessageIcon icon;
        MessageButtons buttons;
    };

    MessageAnswer Show(QWidget *,
                       const QString &text,
                       const QString &title,
                       MessageIcon icon,
                       MessageButtons buttons) override
    {
        shown.append({text, title, icon, buttons});
        return MessageAnswer::Ok;
    }

    QList<Shown> shown;
};

std::vector<uint8_t> Bytes(std::initializer_list<int> values)
{
    std::vector<uint8_t> bytes;
    for (int value : values)
        bytes.push_back(static_cast<uint8_t>(value));
    return bytes;
}

std::vector<uint8_t> Bytes(const std::string &text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

std::string Convert(const std::vector<uint8_t> &bytes, uint32_t type, std::string before = "old")
{
    RegistryValueText(bytes, type, before);
    return before;
}

bool WriteFile(const QString &path, const QByteArray &content, bool executable)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return false;
    file.close();
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
    if (executable)
        permissions |= QFile::ExeOwner;
    return file.setPermissions(permissions);
}

// A stand-in tool that writes its own name into `marker` when it runs.
bool WriteFakeTool(const QString &folder, const QString &name, const QString &marker)
{
    const QString script = QStringLiteral("#!/bin/sh\nprintf '%s' '%1' > '%2'\n").arg(name, marker);
    return WriteFile(QDir(folder).filePath(name), script.toUtf8(), true);
}

QString FileText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QRgb SystemColour(int index)
{
    return ResolveOleColour(SystemOleColour(index)).rgb();
}

} // namespace

class AboutTest : public QObject
{
    Q_OBJECT

    QByteArray savedPath_;

private slots:
    void initTestCase() { savedPath_ = qgetenv("PATH"); }
    void cleanup() { qputenv("PATH", savedPath_); }

    void versionTextPadsMinorAndRevision()
    {
        QCOMPARE(VersionText(0, 91, 0), QStringLiteral("Version 0.91.0000"));
        QCOMPARE(VersionText(0, 5, 12), QStringLiteral("Version 0.05.0012"));
        // The patterns set a least width only.
        QCOMPARE(VersionText(2, 123, 45678), QStringLiteral("Version 2.123.45678"));
    }

    void registryValuesBecomeText()
    {
        const std::string path = "C:\\Program Files\\msinfo32.exe";
        QCOMPARE(Convert(Bytes(path), kRegistryString), path);
        QCOMPARE(Convert(Bytes(path + '\0'), kRegistryString), path);
        // Only one terminating zero is dropped.
        QCOMPARE(Convert(Bytes(path + '\0' + '\0'), kRegistryString), path + '\0');
        QCOMPARE(Convert({}, kRegistryString), std::string());
        QCOMPARE(Convert(Bytes({0}), kRegistryString), std::string());

        // 32-bit numbers are little-endian: 0x00000105 is 261, whatever the zero bytes above.
        QCOMPARE(Convert(Bytes({0x05, 0x01, 0x00, 0x00}), kRegistryNumber), std::string("261"));
        QCOMPARE(Convert(Bytes({0x2A, 0x00, 0x00, 0x00}), kRegistryNumber), std::string("42"));
        QCOMPARE(Convert(Bytes({0x00, 0x00, 0x00, 0x00}), kRegistryNumber), std::string("0"));
        QCOMPARE(Convert(Bytes({0x00, 0x00, 0x00, 0x80}), kRegistryNumber),
                 std::string("2147483648"));
        QCOMPARE(Convert(Bytes({0xFF, 0xFF, 0xFF, 0xFF}), kRegistryNumber),
                 std::string("4294967295"));
        QCOMPARE(Convert({}, kRegistryNumber), std::string("0"));

        // Other types leave the text as it was.
        for (uint32_t type : {0u, 2u, 3u, 7u, 11u})
            QCOMPARE(Convert(Bytes(path), type, "before"), std::string("before"));
    }

    void layoutAndTexts()
    {
        frmAbout about;
        QVERIFY(about.isModal());
        QCOMPARE(about.size(), QSize(382, 193));
        QCOMPARE(about.windowTitle(), QStringLiteral("About Trelvik"));

        auto *header = about.findChild<QWidget *>(QStringLiteral("picHeader"));
        QVERIFY(header);
        QCOMPARE(header->geometry(), QRect(0, 0, 382, 57));
        auto *icon = about.findChild<QLabel *>(QStringLiteral("imgIcon"));
        QVERIFY(icon && icon->parentWidget() == header);
        QCOMPARE(icon->geometry(), QRect(8, 8, 32, 32));
        QCOMPARE(icon->pixmap().size(), QSize(32, 32));

        auto *title = about.findChild<UniLabel *>(QStringLiteral("lblTitle"));
        auto *version = about.findChild<UniLabel *>(QStringLiteral("lblVersion"));
        auto *description = about.findChild<UniLabel *>(QStringLiteral("lblDescription"));
        QVERIFY(title && version && description);
        QCOMPARE(title->geometry(), QRect(56, 8, 313, 17));
        QCOMPARE(version->geometry(), QRect(64, 32, 305, 17));
        QCOMPARE(description->geometry(), QRect(16, 64, 353, 49));
        QCOMPARE(title->Caption(), QStringLiteral("Trelvik"));
        QVERIFY(title->Font().bold());
        QCOMPARE(title->Font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(version->Caption(), QStringLiteral("Version 0.91.0000"));
        QCOMPARE(description->Caption(),
                 QStringLiteral("Generates maps for the classic game, The Settlers II"));
        for (UniLabel *label : {title, version}) {
            QCOMPARE(label->BackColor(), SystemOleColour(kColourWindow));
            QCOMPARE(label->ForeColor(), SystemOleColour(kColourWindowText));
        }

        auto *ok = about.findChild<UniCommand *>(QStringLiteral("cmdOK"));
        auto *sysInfo = about.findChild<UniCommand *>(QStringLiteral("cmdSysInfo"));
        QVERIFY(ok && sysInfo);
        QCOMPARE(ok->geometry(), QRect(248, 128, 121, 25));
        QCOMPARE(sysInfo->geometry(), QRect(248, 160, 121, 25));
        QCOMPARE(ok->Caption(), QStringLiteral("&OK"));
        QCOMPARE(sysInfo->Caption(), QStringLiteral("&System Info"));
        QVERIFY(ok->IsDefault());
        QVERIFY(!sysInfo->IsDefault());
        QCOMPARE(ok->AccessKey(), std::optional<char16_t>(u'O'));
        QCOMPARE(sysInfo->AccessKey(), std::optional<char16_t>(u'S'));
    }

    void headerAndSeparatorAreDrawn()
    {
        frmAbout about;
        const QImage picture = about.grab().toImage();
        QCOMPARE(picture.size(), QSize(382, 193));
        const QRgb window = SystemColour(kColourWindow);
        const QRgb shadow = SystemColour(kColourButtonShadow);
        const QRgb light = SystemColour(kColourButtonHighlight);
        const QRgb face = about.palette().color(QPalette::Window).rgb();

        QCOMPARE(picture.pixel(2, 2), window);
        QCOMPARE(picture.pixel(380, 50), window);
        // The dark line along the header's bottom edge, all the way across.
        for (int x : {0, 200, 381})
            QCOMPARE(picture.pixel(x, 56), shadow);
        QCOMPARE(picture.pixel(200, 57), face);
        // The separator: dark over light from x = 8 up to x = 376.
        for (int x : {8, 200, 375}) {
            QCOMPARE(picture.pixel(x, 120), shadow);
            QCOMPARE(picture.pixel(x, 121), light);
        }
        for (int x : {7, 376}) {
            QCOMPARE(picture.pixel(x, 120), face);
            QCOMPARE(picture.pixel(x, 121), face);
        }
        QCOMPARE(picture.pixel(200, 119), face);
        QCOMPARE(picture.pixel(200, 122), face);
        // The icon shows on the header: its middle is land, not the header's colour.
        QVERIFY(picture.pixel(24, 24) != window);
        QVERIFY(qAlpha(picture.pixel(24, 24)) == 255);
    }

    void opensModallyAndOkCloses()
    {
        frmAbout about;
        bool wasVisible = false;
        QTimer::singleShot(0, &about, [&] {
            wasVisible = about.isVisible();
            auto *ok = about.findChild<UniCommand *>(QStringLiteral("cmdOK"));
            QTest::mouseClick(ok, Qt::LeftButton, {}, QPoint(60, 12));
        });
        QCOMPARE(about.exec(), int(QDialog::Accepted));
        QVERIFY(wasVisible);
        QVERIFY(!about.isVisible());
    }

    void enterAndEscapeClose_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("result");
        QTest::newRow("enter on OK") << int(Qt::Key_Return) << "cmdOK" << int(QDialog::Accepted);
        QTest::newRow("keypad enter") << int(Qt::Key_Enter) << "cmdOK" << int(QDialog::Accepted);
        QTest::newRow("enter on System Info")
            << int(Qt::Key_Return) << "cmdSysInfo" << int(QDialog::Accepted);
        QTest::newRow("escape") << int(Qt::Key_Escape) << "cmdOK" << int(QDialog::Rejected);
    }

    void enterAndEscapeClose()
    {
        QFETCH(int, key);
        QFETCH(QString, focus);
        QFETCH(int, result);
        RecordingMessages messages;
        frmAbout about;
        about.SetMessageBoxes(&messages);
        about.show();
        auto *target = about.findChild<UniCommand *>(focus);
        QVERIFY(target);
        QTest::keyClick(target, static_cast<Qt::Key>(key));
        QVERIFY(!about.isVisible());
        QCOMPARE(about.result(), result);
        QVERIFY(messages.shown.isEmpty());
    }

    void systemInfoStartsTheFirstKnownTool()
    {
        QTemporaryDir first;
        QTemporaryDir second;
        QTemporaryDir markers;
        QVERIFY(first.isValid() && second.isValid() && markers.isValid());
        const QStringList &names = SysInfoProgramNames();
        QVERIFY(names.size() >= 2);
        const QString marker = markers.filePath(QStringLiteral("started"));
        // The earlier name wins even when its folder comes later on the path.
        QVERIFY(WriteFakeTool(first.path(), names.last(), marker));
        QVERIFY(WriteFakeTool(second.path(), names.first(), marker));
        qputenv("PATH", (first.path() + QLatin1Char(':') + second.path()).toUtf8());

        RecordingMessages messages;
        frmAbout about;
        about.SetMessageBoxes(&messages);
        about.show();
        QTest::mouseClick(about.findChild<UniCommand *>(QStringLiteral("cmdSysInfo")),
                          Qt::LeftButton, {}, QPoint(60, 12));
        // The tool runs detached, so its mark shows up in its own time.
        QTRY_COMPARE_WITH_TIMEOUT(FileText(marker), names.first(), 10000);
        QVERIFY(messages.shown.isEmpty());
        QVERIFY(about.isVisible());
    }

    void systemInfoUnavailable_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("empty path") << "empty";
        QTest::newRow("only empty folders") << "no tool";
        QTest::newRow("tool not executable") << "not executable";
        QTest::newRow("folder named like a tool") << "folder";
        QTest::newRow("tool that cannot start") << "broken";
    }

    void systemInfoUnavailable()
    {
        QFETCH(QString, kind);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString tool = folder.filePath(SysInfoProgramNames().first());
        if (kind == QLatin1String("empty")) {
            qputenv("PATH", QByteArray());
        } else {
            if (kind == QLatin1String("not executable"))
                QVERIFY(WriteFile(tool, "#!/bin/sh\nexit 0\n", false));
            else if (kind == QLatin1String("folder"))
                QVERIFY(QDir().mkdir(tool));
            else if (kind == QLatin1String("broken"))
                QVERIFY(WriteFile(tool, "this is not a program\n", true));
            qputenv("PATH", (QStringLiteral("::") + folder.path() + QLatin1Char(':')).toUtf8());
        }

        RecordingMessages messages;
        frmAbout about;
        about.SetMessageBoxes(&messages);
        about.show();
        QTest::mouseClick(about.findChild<UniCommand *>(QStringLiteral("cmdSysInfo")),
                          Qt::LeftButton, {}, QPoint(60, 12));
        QCOMPARE(messages.shown.size(), 1);
        const RecordingMessages::Shown &shown = messages.shown.first();
        QCOMPARE(shown.text, QStringLiteral("System Information Is Unavailable At This Time"));
        QCOMPARE(shown.title, QStringLiteral("Trelvik"));
        QVERIFY(shown.icon == MessageIcon::None);
        QVERIFY(shown.buttons == MessageButtons::Ok);
        QVERIFY(about.isVisible());
    }
};

QTEST_MAIN(AboutTest)
#include "about_test.moc"
