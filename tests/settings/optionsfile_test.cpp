// The options file: every field written and read back, the layout at known offsets, and every
// kind of bad file falling back to the built-in options with a fresh file written.
#include "model/bytestream.h"
#include "settings/optionsfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <random>

using namespace qorv;

namespace {

// Every field away from its default.
ProgramOptions unusualOptions() {
    ProgramOptions o;
    o.pickDistance = 13;
    o.planeSize = 7777;
    o.locusPoints = 340;
    o.nameDistance = 77;
    o.parameterStep = 0.25;
    o.decimals = 6;
    o.hideMacroIntermediates = 0;
    o.horizontalTables = 0;
    o.stepByStepFromLast = 1;
    o.adaptCursorColour = 0;
    o.markRotationCentre = 0;
    o.buttonSize = ButtonSize::Small;
    o.iterations = 2;
    o.exportScale = 5;
    o.angleMarkFactor = 0.21;
    o.language = "Español";
    o.window = WindowRecord{31, 42, 530, 640, 0};
    o.mainBarShown = 0;
    o.editBarShown = 0;
    o.documentBarShown = 0;
    o.statusBarShown = 0;
    o.fullScreen = 1;
    o.showHidden = 1;
    o.cursorFont = FontRecord{"Courier New", rgb(1, 2, 3), 9, 1, 0, 1, 0};
    o.cursorBackground = rgb(10, 20, 30);
    DocumentDefaults& d = o.document;
    d.background = rgb(250, 240, 230);
    d.hiddenColor = rgb(5, 6, 7);
    d.selectedColor = rgb(8, 9, 10);
    d.antialiased = 1;
    d.lengthUnit = LengthUnit::Mm;
    d.angleUnit = AngleUnit::Gra;
    d.pixelsPerUnit = 37.5;
    d.constantLengthsWithZoom = 1;
    d.coordinateSystem = 1;
    d.fonts[FontSlot::Cursor] = FontRecord{"Tahoma", rgb(11, 0, 0), 7, 0, 1, 0, 1};
    d.fonts[FontSlot::Names] = FontRecord{"Verdana", rgb(0, 12, 0), 8, 1, 1, 0, 0};
    d.fonts[FontSlot::Numbers] = FontRecord{"Times", rgb(0, 0, 13), 15, 0, 0, 1, 1};
    d.fonts[FontSlot::Texts] = FontRecord{"Georgia", rgb(14, 14, 0), 16, 1, 0, 0, 1};
    for (int k :
         {Kind::Point, Kind::Line, Kind::Ray, Kind::Segment, Kind::Circle, Kind::Arc, Kind::Polygon,
          Kind::Angle, Kind::Locus, Kind::Axes, Kind::Grid, Kind::Iteration}) {
        d.kindColors[size_t(k)] = 1000 + k;
        d.kindShapes[size_t(k)] = 1 + k % 5;
    }
    return o;
}

int32_t intAt(const std::vector<uint8_t>& b, size_t at) {
    int32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}
double doubleAt(const std::vector<uint8_t>& b, size_t at) {
    double v;
    std::memcpy(&v, b.data() + at, 8);
    return v;
}

void writeBytes(const QString& path, const std::vector<uint8_t>& bytes) {
    std::ofstream f(QFile::encodeName(path).toStdString(), std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

} // namespace

TEST(OptionsFile, EveryFieldRoundTrips) {
    const ProgramOptions o = unusualOptions();
    const std::vector<uint8_t> bytes = encodeOptions(o);
    ProgramOptions back; // the built-in values until read
    ASSERT_TRUE(decodeOptions(bytes.data(), bytes.size(), back));
    EXPECT_TRUE(back == o);
    // The comparison covers each field: one changed field makes them differ.
    ProgramOptions other = o;
    other.document.kindShapes[Kind::Grid] += 1;
    EXPECT_FALSE(other == o);
}

TEST(OptionsFile, FieldsSitWhereTheLayoutPutsThem) {
    const ProgramOptions o = unusualOptions();
    const std::vector<uint8_t> b = encodeOptions(o);
    EXPECT_EQ(std::memcmp(b.data(), "QORV", 4), 0);
    EXPECT_EQ(intAt(b, 4), 900);
    // "Español": seven Windows-1252 bytes, the ñ as 0xF1 (not UTF-8).
    ASSERT_EQ(intAt(b, 8), 7);
    EXPECT_EQ(b[12 + 4], 0xF1);
    size_t at = 19;
    for (int32_t v : {31, 42, 530, 640, 0}) // window left, top, height, width, state
        EXPECT_EQ(intAt(b, (at += 4) - 4), v);
    EXPECT_EQ(intAt(b, at), int32_t(rgb(250, 240, 230)));
    EXPECT_EQ(intAt(b, at + 12), 1); // anti-aliasing
    EXPECT_DOUBLE_EQ(doubleAt(b, at + 16), 7777);
    at += 24;
    for (int32_t v : {0, 0, 0, 0, 1, 1}) // three bars, status bar, full screen, show hidden
        EXPECT_EQ(intAt(b, (at += 4) - 4), v);
    // Fonts: the texts font first ("Georgia"), then names, numbers, cursor messages.
    ASSERT_EQ(intAt(b, at), 7);
    EXPECT_EQ(std::string(b.begin() + std::ptrdiff_t(at) + 4, b.begin() + std::ptrdiff_t(at) + 11),
              "Georgia");
    // From the end: 12 kind colours and 12 kind shapes, then the iterations and the inverted
    // step-by-step flag before them, then the parameter step.
    const size_t kinds = b.size() - 24 * 4;
    EXPECT_EQ(intAt(b, kinds), 1000 + Kind::Point);
    EXPECT_EQ(intAt(b, kinds + 4 * 9), 1000 + Kind::Axes);
    EXPECT_EQ(intAt(b, kinds + 48 + 4 * 11), 1 + Kind::Iteration % 5);
    EXPECT_EQ(intAt(b, kinds - 4), 2);
    EXPECT_EQ(intAt(b, kinds - 8), 0); // starts at the last element: stored as 0
    EXPECT_DOUBLE_EQ(doubleAt(b, kinds - 16), 0.25);
}

TEST(OptionsFile, EveryDamagedFileIsRefusedWithoutTouchingTheOptions) {
    const std::vector<uint8_t> good = encodeOptions(unusualOptions());
    const ProgramOptions before;
    const auto refused = [&](const std::vector<uint8_t>& bytes) {
        ProgramOptions o;
        const bool read = decodeOptions(bytes.data(), bytes.size(), o);
        return !read && o == before;
    };
    // Cut short anywhere.
    for (size_t n = 0; n < good.size(); ++n)
        ASSERT_TRUE(refused(std::vector<uint8_t>(good.begin(), good.begin() + std::ptrdiff_t(n))))
            << n;
    // One byte too many.
    std::vector<uint8_t> longer = good;
    longer.push_back(0);
    EXPECT_TRUE(refused(longer));
    struct Patch {
        const char* what;
        size_t at;
        int32_t value;
    };
    for (const Patch& p : {Patch{"magic", 0, 0x56524f51 + 1}, Patch{"version 899", 4, 899},
                           Patch{"version 901", 4, 901}, Patch{"language of 41 bytes", 8, 41},
                           Patch{"negative language", 8, -1}}) {
        std::vector<uint8_t> bad = good;
        std::memcpy(bad.data() + p.at, &p.value, 4);
        EXPECT_TRUE(refused(bad)) << p.what;
    }
    // Random bytes, and random bytes behind a good header.
    std::mt19937 random(16);
    for (int i = 0; i < 3000; ++i) {
        std::vector<uint8_t> bytes(random() % 600);
        for (uint8_t& x : bytes)
            x = uint8_t(random());
        if (i % 2) std::copy_n(good.begin(), std::min<size_t>(12, bytes.size()), bytes.begin());
        ProgramOptions o;
        EXPECT_FALSE(decodeOptions(bytes.data(), bytes.size(), o));
        EXPECT_TRUE(o == before);
    }
}

TEST(OptionsFile, BadFilesFallBackToTheBuiltInOptionsAndAreRewritten) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("qorv.ini"));
    const std::string file = QFile::encodeName(path).toStdString();
    const ProgramOptions builtIn = builtInOptions(1280, 1024);
    std::vector<uint8_t> oversized = encodeOptions(unusualOptions());
    oversized.resize(MaxOptionsFileBytes + 1);
    std::vector<uint8_t> wrongVersion = encodeOptions(unusualOptions());
    wrongVersion[4] = 0x85; // 901
    std::vector<uint8_t> truncated = encodeOptions(unusualOptions());
    truncated.resize(truncated.size() / 2);
    struct Case {
        const char* what;
        bool exists;
        std::vector<uint8_t> bytes;
    };
    for (const Case& c :
         {Case{"missing", false, {}}, Case{"empty", true, {}}, Case{"truncated", true, truncated},
          Case{"oversized", true, oversized}, Case{"wrong version", true, wrongVersion},
          Case{"random", true, std::vector<uint8_t>(300, 0xA7)}}) {
        SCOPED_TRACE(c.what);
        QFile::remove(path);
        if (c.exists) writeBytes(path, c.bytes);
        ProgramOptions o;
        EXPECT_EQ(readOptionsFile(file, o),
                  c.exists ? OptionsFileStatus::Invalid : OptionsFileStatus::Missing);
        const LoadedOptions loaded = loadOptions(path, 1280, 1024);
        EXPECT_FALSE(loaded.fromFile);
        EXPECT_FALSE(loaded.writeFailed);
        EXPECT_TRUE(loaded.options == builtIn);
        // The fresh file reads back as the built-in options.
        ProgramOptions again = unusualOptions();
        ASSERT_EQ(readOptionsFile(file, again), OptionsFileStatus::Read);
        EXPECT_TRUE(again == builtIn);
    }
}

TEST(OptionsFile, ReadOptionsAreBroughtIntoRangeAndThePlaneRaised) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qorv.ini"));
    ProgramOptions o = unusualOptions();
    o.planeSize = 500; // below the minimum of a 1280 x 1024 screen
    o.decimals = 40;
    o.pickDistance = -3;
    o.document.lengthUnit = 9;
    o.document.pixelsPerUnit = -1;
    o.buttonSize = ButtonSize::Large;
    ASSERT_TRUE(writeOptionsFile(QFile::encodeName(path).toStdString(), o));
    const LoadedOptions loaded = loadOptions(path, 1280, 1024);
    ASSERT_TRUE(loaded.fromFile);
    EXPECT_DOUBLE_EQ(loaded.options.planeSize, 1281);
    EXPECT_EQ(loaded.options.decimals, 8);
    EXPECT_EQ(loaded.options.pickDistance, 2);
    EXPECT_EQ(loaded.options.document.lengthUnit, LengthUnit::Km);
    EXPECT_DOUBLE_EQ(loaded.options.document.pixelsPerUnit, 40);
    EXPECT_EQ(loaded.options.buttonSize, ButtonSize::Large);
    // On a small screen the large buttons are not offered.
    EXPECT_EQ(loadOptions(path, 800, 600).options.buttonSize, ButtonSize::Small);
    EXPECT_EQ(loaded.options.language, "Español");
}

TEST(OptionsFile, WritingReplacesTheFileWholeOrLeavesItAlone) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qorv.ini"));
    const std::string file = QFile::encodeName(path).toStdString();
    ASSERT_TRUE(writeOptionsFile(file, unusualOptions()));
    ASSERT_TRUE(writeOptionsFile(file, ProgramOptions{}));
    ProgramOptions o = unusualOptions();
    ASSERT_EQ(readOptionsFile(file, o), OptionsFileStatus::Read);
    EXPECT_TRUE(o == ProgramOptions{});
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("qorv.ini")});
    // A folder standing where the file goes: the write fails and leaves nothing behind, and
    // starting up still works on the built-in options.
    const QString blocked = dir.filePath(QStringLiteral("blocked.ini"));
    ASSERT_TRUE(QDir().mkpath(blocked));
    EXPECT_FALSE(writeOptionsFile(QFile::encodeName(blocked).toStdString(), o));
    const LoadedOptions loaded = loadOptions(blocked, 1280, 1024);
    EXPECT_FALSE(loaded.fromFile);
    EXPECT_TRUE(loaded.writeFailed);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("qorv.ini")});
}
