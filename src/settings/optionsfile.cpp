#include "settings/optionsfile.h"

#include "model/bytestream.h"
#include "model/cp1252.h"
#include "model/elementcodec.h"
#include "model/langfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace qorv {

namespace {

constexpr char Magic[4] = {'Q', 'O', 'R', 'V'};
constexpr size_t FontNameChars = 31; // as the document's own fonts

// The new-document fonts go in this order (texts, names, numbers, cursor messages).
constexpr int FontOrder[4] = {FontSlot::Texts, FontSlot::Names, FontSlot::Numbers,
                              FontSlot::Cursor};

// One walk over the fields for both directions, so that reading and writing cannot disagree.
struct Writer {
    ByteWriter& out;
    bool i32(int32_t& v) {
        out.i32(v);
        return true;
    }
    bool f64(double& v) {
        out.f64(v);
        return true;
    }
    bool font(FontRecord& f) {
        writeFontBlock(out, f);
        return true;
    }
    bool kinds(DocumentDefaults& d) {
        writeKindTables(out, d.kindColors, d.kindShapes);
        return true;
    }
};

struct Reader {
    ByteReader& in;
    bool i32(int32_t& v) { return in.i32(v); }
    bool f64(double& v) { return in.f64(v); }
    bool font(FontRecord& f) { return readFontBlock(in, f, FontNameChars); }
    bool kinds(DocumentDefaults& d) { return readKindTables(in, d.kindColors, d.kindShapes); }
};

// Fields 3 to 22, after the magic, the version and the language.
template <class IO> bool transferFields(IO& io, ProgramOptions& o) {
    DocumentDefaults& d = o.document;
    WindowRecord& w = o.window;
    int32_t stepByStepOff = o.stepByStepFromLast ? 0 : 1;
    const bool ok =
        io.i32(w.left) && io.i32(w.top) && io.i32(w.height) && io.i32(w.width) && io.i32(w.state) &&
        io.i32(d.background) && io.i32(d.hiddenColor) && io.i32(d.selectedColor) &&
        io.i32(d.antialiased) && io.f64(o.planeSize) && io.i32(o.mainBarShown) &&
        io.i32(o.editBarShown) && io.i32(o.documentBarShown) && io.i32(o.statusBarShown) &&
        io.i32(o.fullScreen) && io.i32(o.showHidden) && io.font(d.fonts[FontOrder[0]]) &&
        io.font(d.fonts[FontOrder[1]]) && io.font(d.fonts[FontOrder[2]]) &&
        io.font(d.fonts[FontOrder[3]]) && io.font(o.cursorFont) && io.i32(o.cursorBackground) &&
        io.f64(o.angleMarkFactor) && io.i32(o.pickDistance) && io.i32(o.nameDistance) &&
        io.i32(o.adaptCursorColour) && io.i32(o.markRotationCentre) && io.i32(o.buttonSize) &&
        io.i32(d.lengthUnit) && io.i32(d.angleUnit) && io.f64(d.pixelsPerUnit) &&
        io.i32(d.constantLengthsWithZoom) && io.i32(d.coordinateSystem) && io.i32(o.decimals) &&
        io.i32(o.exportScale) && io.i32(o.locusPoints) && io.i32(o.hideMacroIntermediates) &&
        io.i32(o.horizontalTables) && io.f64(o.parameterStep) && io.i32(stepByStepOff) &&
        io.i32(o.iterations) && io.kinds(d);
    o.stepByStepFromLast = stepByStepOff == 0 ? 1 : 0;
    return ok;
}

} // namespace

std::vector<uint8_t> encodeOptions(const ProgramOptions& options) {
    ProgramOptions o = options; // the walk takes references
    ByteWriter out;
    out.bytes(Magic, sizeof Magic);
    out.i32(OptionsFileVersion);
    const std::string language = utf8ToCp1252(storedLanguageName(o.language));
    out.i32(int32_t(language.size()));
    out.bytes(language.data(), language.size());
    Writer w{out};
    transferFields(w, o);
    return std::move(out.data());
}

bool decodeOptions(const uint8_t* data, size_t size, ProgramOptions& out) {
    ByteReader in(data, size);
    const uint8_t* magic = nullptr;
    int32_t version = 0;
    if (!in.bytes(sizeof Magic, magic) || std::memcmp(magic, Magic, sizeof Magic) != 0 ||
        !in.i32(version) || version != OptionsFileVersion)
        return false;
    int32_t n = 0;
    const uint8_t* language = nullptr;
    if (!in.count(n, 1, int64_t(OptionLimits::LanguageNameMax)) || !in.bytes(size_t(n), language))
        return false;
    ProgramOptions o = out;
    o.language = cp1252ToUtf8(std::string_view(reinterpret_cast<const char*>(language), size_t(n)));
    Reader r{in};
    if (!transferFields(r, o) || !in.atEnd()) return false;
    out = std::move(o);
    return true;
}

OptionsFileStatus readOptionsFile(const std::string& path, ProgramOptions& out) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::exists(path, ec)) return OptionsFileStatus::Missing;
    if (!fs::is_regular_file(path, ec)) return OptionsFileStatus::Invalid;
    const uintmax_t size = fs::file_size(path, ec);
    if (ec || size > MaxOptionsFileBytes) return OptionsFileStatus::Invalid;
    std::vector<uint8_t> data(static_cast<size_t>(size));
    std::ifstream f(path, std::ios::binary);
    if (!f) return OptionsFileStatus::Invalid;
    f.read(reinterpret_cast<char*>(data.data()), std::streamsize(size));
    if (f.gcount() != std::streamsize(size)) return OptionsFileStatus::Invalid;
    return decodeOptions(data.data(), data.size(), out) ? OptionsFileStatus::Read
                                                        : OptionsFileStatus::Invalid;
}

bool writeOptionsFile(const std::string& path, const ProgramOptions& o) {
    return writeFileAtomically(path, encodeOptions(o));
}

QString optionsFilePath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder)) folder = QCoreApplication::applicationDirPath();
    return QDir(folder).filePath(QStringLiteral("qorv.ini"));
}

std::string rememberedLanguage() {
    ProgramOptions options;
    const std::string path = QFile::encodeName(optionsFilePath()).toStdString();
    return readOptionsFile(path, options) == OptionsFileStatus::Read ? options.language
                                                                     : std::string();
}

LoadedOptions loadOptions(const QString& path, int screenWidth, int screenHeight,
                          const OptionsFileContent* known) {
    LoadedOptions r;
    r.options = builtInOptions(screenWidth, screenHeight);
    const std::string file = QFile::encodeName(path).toStdString();
    bool read = false;
    if (known) {
        read = known->read;
        if (read) r.options = known->options;
    } else {
        read = readOptionsFile(file, r.options) == OptionsFileStatus::Read;
    }
    if (read) {
        r.fromFile = true;
    } else {
        r.options = builtInOptions(screenWidth, screenHeight);
        r.writeFailed = !writeOptionsFile(file, r.options);
    }
    normalizeOptions(r.options, screenWidth, screenHeight);
    return r;
}

} // namespace qorv
