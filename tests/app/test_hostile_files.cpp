// Opens damaged and hostile files in the window and checks that each is either turned away with
// a clear message, leaving everything the window showed as it was, or shown without reading
// outside its layers and without memory sized by what the header claims.
#include "allocation_watch.h"
#include "app_test_support.h"
#include "document/map_file.h"
#include "hostile_opener.h"
#include "test_maps.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <limits>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include <QLabel>
#include <QListWidget>
#include <QtTest>

using namespace trelvik;
using namespace trelvik::test;

namespace {

constexpr int16_t kWidth = 64;
constexpr int16_t kHeight = 48;
constexpr std::size_t kLayerBytes = std::size_t{kWidth} * kHeight;

// Where block k's header starts in a file whose every layer is W x H bytes.
std::size_t BlockStart(int k)
{
    return kMapHeaderSize + static_cast<std::size_t>(k - 1) * (kBlockHeaderSize + kLayerBytes);
}

const std::size_t kBlocksEnd = BlockStart(kLayerCount + 1);

void PutI16(std::vector<uint8_t> &bytes, std::size_t at, int16_t value)
{
    const auto v = static_cast<uint16_t>(value);
    bytes[at] = static_cast<uint8_t>(v & 0xFF);
    bytes[at + 1] = static_cast<uint8_t>(v >> 8);
}

void PutI32(std::vector<uint8_t> &bytes, std::size_t at, int32_t value)
{
    const auto v = static_cast<uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<uint8_t>((v >> (8 * i)) & 0xFF);
}

constexpr std::size_t kHeaderWidthAt = 2348;
constexpr std::size_t kHeaderHeightAt = 2350;
constexpr std::size_t kDataLengthInBlock = 12;

// A window showing the good map, opened from good.swd.
struct Scene
{
    explicit Scene(std::size_t animals = 3)
        : Good(MakeDocument(kWidth, kHeight, animals))
        , GoodBytes(WriteMapBytes(Good))
        , GoodPath(Dir.File("good.swd"))
        , Open(Window, Dir)
    {
        Window.OpenDocument(Good, GoodPath);
        Window.SelectPosition(2);
    }

    void Reopen()
    {
        Window.Dialogs->Choose(Q(GoodPath));
        Window.Window->mnuFileOpen_Click();
        Window.SelectPosition(2);
    }

    TempDir Dir;
    WindowUnderTest Window;
    MapDocument Good;
    std::vector<uint8_t> GoodBytes;
    std::string GoodPath;
    HostileOpener Open;
};

} // namespace

class HostileFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void allocationWatchSeesLargeBlocks()
    {
        // The bound below means something only if the watch sees the blocks asked for.
        ResetLargestAllocation();
        void *block = ::operator new(kAllocationBound * 2);
        ::operator delete(block);
        QVERIFY(LargestAllocation() >= kAllocationBound * 2);
    }

    void truncatedAtManyOffsets()
    {
        Scene s;
        std::vector<std::size_t> offsets = {0, 1, 9, 10, 11, 2341, 2342, 2351, 2352, 2353};
        for (int k = 2; k <= kLayerCount + 1; ++k) {
            for (std::size_t d : {1u, 0u})
                offsets.push_back(BlockStart(k) - d);
        }
        for (int k = 1; k <= kLayerCount; ++k) {
            for (std::size_t d : {1u, 12u, 15u, 16u, 17u})
                offsets.push_back(BlockStart(k) + d);
        }
        for (std::size_t at = 13; at < kBlocksEnd; at += 509)
            offsets.push_back(at);
        for (std::size_t d = 1; d <= 16; ++d)
            offsets.push_back(kBlocksEnd + d);

        for (const std::size_t offset : offsets) {
            const std::vector<uint8_t> cut(
                s.GoodBytes.begin(), s.GoodBytes.begin() + static_cast<std::ptrdiff_t>(offset));
            const bool accepted = s.Open.OpenBytes("cut-" + std::to_string(offset) + ".swd", cut);
            if (QTest::currentTestFailed())
                return;
            // Only a file that holds all fourteen blocks is a map; what follows them is the
            // footer, of whole five-byte records.
            QVERIFY2(accepted == (offset >= kBlocksEnd), qPrintable(QString::number(offset)));
            if (accepted) {
                const std::size_t animals = (offset - kBlocksEnd) / 5;
                QCOMPARE(s.Window.Window->Document().Animals,
                         std::vector<AnimalEntry>(s.Good.Animals.begin(),
                                                  s.Good.Animals.begin()
                                                      + static_cast<std::ptrdiff_t>(animals)));
                s.Reopen();
            }
        }
        s.Open.Exercise();
    }

    void bitFlipped()
    {
        Scene s;
        // Most flips land where the structure lies: a quarter on the map size, half on the
        // signature and the block headers, the rest anywhere.
        std::vector<std::size_t> structural;
        for (std::size_t i = 0; i < 10; ++i)
            structural.push_back(i);
        for (int k = 1; k <= kLayerCount; ++k) {
            for (std::size_t i = 0; i < kBlockHeaderSize; ++i)
                structural.push_back(BlockStart(k) + i);
        }
        int accepted = 0;
        int rejected = 0;
        int resized = 0;
        for (uint32_t seed = 1; seed <= 120; ++seed) {
            std::mt19937 rng(seed);
            std::vector<uint8_t> bytes = s.GoodBytes;
            const int flips = 1 + static_cast<int>(rng() % 4);
            for (int f = 0; f < flips; ++f) {
                std::size_t at = 0;
                switch (rng() % 4) {
                case 0:
                    at = kHeaderWidthAt + rng() % 4;
                    break;
                case 1:
                    at = rng() % bytes.size();
                    break;
                default:
                    at = structural[rng() % structural.size()];
                    break;
                }
                bytes[at] = static_cast<uint8_t>(bytes[at] ^ (1u << (rng() % 8)));
            }
            const bool opened = s.Open.OpenBytes("flip-" + std::to_string(seed) + ".wld", bytes);
            if (QTest::currentTestFailed())
                return;
            if (opened) {
                ++accepted;
                // A map whose size or layer lengths differ from the good one's is viewed
                // whole; of the others, whose flips lie in bytes the view only shows, a few.
                const MapDocument &read = s.Window.Window->Document();
                const bool lengthsDiffer =
                    std::any_of(read.Layers.begin(), read.Layers.end(),
                                [](const MapLayer &layer) { return layer.size() != kLayerBytes; });
                const bool sizeDiffers =
                    read.Header.Width != kWidth || read.Header.Height != kHeight;
                resized += sizeDiffers ? 1 : 0;
                if (sizeDiffers || lengthsDiffer || accepted % 8 == 1) {
                    s.Open.Exercise();
                    if (QTest::currentTestFailed())
                        return;
                }
                s.Reopen();
            } else {
                ++rejected;
            }
        }
        // Both kinds of outcome were met, and maps of other sizes among those shown.
        QVERIFY(accepted > 0);
        QVERIFY(rejected > 0);
        QVERIFY(resized > 0);
        s.Open.Exercise();
    }

    void blockLengths()
    {
        Scene s;
        for (int k : {1, 7, 14}) {
            const std::size_t at = BlockStart(k) + kDataLengthInBlock;
            for (int32_t length :
                 {-1, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(),
                  static_cast<int32_t>(s.GoodBytes.size() - at - 4 + 1)}) {
                std::vector<uint8_t> bytes = s.GoodBytes;
                PutI32(bytes, at, length);
                const std::string name =
                    "length-" + std::to_string(k) + "-" + std::to_string(length) + ".swd";
                QVERIFY2(!s.Open.OpenBytes(name, bytes), name.c_str());
                const QString text = s.Window.Messages->Shown.back().Text;
                QVERIFY2(text.contains(QStringLiteral("damaged")), qPrintable(text));
            }

            // A zero length with the layer's bytes taken out reads an empty layer, shown as
            // index 0 at every point.
            std::vector<uint8_t> bytes = s.GoodBytes;
            PutI32(bytes, at, 0);
            const auto layerStart = static_cast<std::ptrdiff_t>(at + 4);
            bytes.erase(bytes.begin() + layerStart,
                        bytes.begin() + layerStart + static_cast<std::ptrdiff_t>(kLayerBytes));
            QVERIFY(s.Open.OpenBytes("empty-layer-" + std::to_string(k) + ".swd", bytes));
            QVERIFY(s.Window.Window->Document().Layer(k).empty());
            s.Window.SelectPosition(k + 1);
            QVERIFY(s.Window.Child<QLabel>("MapInfo")->text().endsWith(
                QStringLiteral("| 64 x 48 | 1 | 0 bytes")));
            s.Open.Exercise();
            if (QTest::currentTestFailed())
                return;
            s.Reopen();
        }
    }

    void hugeClaimedSizeWithShortLayers()
    {
        Scene s;
        // 32767 x 32767 claimed, 64 x 48 bytes per layer: nothing of the layers lies in view.
        std::vector<uint8_t> bytes = s.GoodBytes;
        PutI16(bytes, kHeaderWidthAt, 32767);
        PutI16(bytes, kHeaderHeightAt, 32767);
        QVERIFY(s.Open.OpenBytes("huge.swd", bytes));
        QCOMPARE(s.Window.Child<QLabel>("lblSize")->text(), QStringLiteral("32767 x 32767"));
        s.Open.Exercise();

        // 32767 x 40 with layers of 20000 bytes: the first row in view is part real, part
        // past the layers' end, and every row below lies past it.
        MapDocument wide = MakeDocument(kWidth, kHeight, 2);
        wide.Header.Width = 32767;
        wide.Header.Height = 40;
        for (int k = 1; k <= kLayerCount; ++k) {
            MapLayer &layer = wide.Layer(k);
            layer.resize(20000);
            for (std::size_t i = 0; i < layer.size(); ++i)
                layer[i] = static_cast<uint8_t>((i * 13 + static_cast<std::size_t>(k)) & 0xFF);
            wide.BlockHeader(k).DataLength = 20000;
        }
        QVERIFY(s.Open.OpenBytes("wide.swd", WriteMapBytes(wide)));
        s.Open.Exercise();
    }

    void animalsWithPartialLastRecord()
    {
        Scene s(4);
        // Three whole records and three bytes of the fourth; the final byte is gone too.
        std::vector<uint8_t> bytes(s.GoodBytes.begin(),
                                   s.GoodBytes.begin()
                                       + static_cast<std::ptrdiff_t>(kBlocksEnd + 3 * 5 + 3));
        QVERIFY(s.Open.OpenBytes("animals.swd", bytes));
        auto *list = s.Window.Child<QListWidget>("LiF");
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->item(0)->text(), QStringLiteral("Unknown (0)\t0 x 0"));
        QCOMPARE(list->item(1)->text(), QStringLiteral("Rabbit\t1 x -1"));
        QCOMPARE(list->item(2)->text(), QStringLiteral("Fox\t2 x -2"));
        s.Open.Exercise();
    }

    void emptyFolderPipeAndDevices()
    {
        Scene s;
        // Empty files in both layouts.
        QVERIFY(!s.Open.OpenBytes("empty.swd", {}));
        QCOMPARE(s.Window.Messages->Shown.back().Text,
                 QStringLiteral("Not a Settlers II map file"));
        QVERIFY(!s.Open.OpenBytes("empty.dat", {}));
        QVERIFY(s.Window.Messages->Shown.back().Text.contains(QStringLiteral("damaged")));

        const std::string folder = s.Dir.File("folder.swd");
        std::filesystem::create_directory(folder);
        QVERIFY(!s.Open.Open(folder));
        QVERIFY(s.Window.Messages->Shown.back().Text.contains(Q(std::strerror(EISDIR))));

        // A pipe without a writer would block the reader at opening; /dev/zero never ends,
        // which a .dat name would read for ever.
        const std::string pipe = s.Dir.File("pipe.swd");
        QCOMPARE(::mkfifo(pipe.c_str(), 0600), 0);
        QVERIFY(!s.Open.Open(pipe));
        const std::string zeros = s.Dir.File("zeros.dat");
        std::filesystem::create_symlink("/dev/zero", zeros);
        QVERIFY(!s.Open.Open(zeros));
        QVERIFY(!s.Open.Open("/dev/null"));
        const std::string dangling = s.Dir.File("dangling.swd");
        std::filesystem::create_symlink(s.Dir.File("nowhere.swd"), dangling);
        QVERIFY(!s.Open.Open(dangling));
        QVERIFY(s.Window.Messages->Shown.back().Text.contains(Q(std::strerror(ENOENT))));

        s.Open.Exercise();
    }

    void fileWithoutReadPermission()
    {
        if (::geteuid() == 0)
            QSKIP("running as root, which reads files whatever their permissions say");
        Scene s;
        const std::string path = s.Dir.File("locked.swd");
        WriteBytes(path, s.GoodBytes);
        std::filesystem::permissions(path, std::filesystem::perms::none);
        QVERIFY(!s.Open.Open(path));
        QVERIFY(s.Window.Messages->Shown.back().Text.contains(Q(std::strerror(EACCES))));
        s.Open.Exercise();
    }
};

QTEST_MAIN(HostileFilesTest)
#include "test_hostile_files.moc"
