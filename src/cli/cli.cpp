#include "cli/cli.h"

#include "calc/expression.h"
#include "construction/examples.h"
#include "geometry/iteration.h"
#include "geometry/locus.h"
#include "geometry/measure.h"
#include "geometry/recalc.h"
#include "geometry/workbudget.h"
#include "model/cp1252.h"
#include "model/docfile.h"
#include "model/langfile.h"
#include "model/uitext.h"
#include "view/dragengine.h"
#ifndef QORV_CLI_NO_DRAWING
#include "view/exportfile.h"
#endif
#include "view/webpage.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

namespace qorv::cli {

namespace {

struct Output {
    std::string& out;
    std::string& err;
};

int usage(Output& o) {
    const auto word = [](int msg) { return uiText().message(msg); };
    const std::string head = word(Msg::CliUsage) + " ";
    const std::string indent(utf8Length(head), ' ');
    const std::string file = word(Msg::CliFile), in = word(Msg::CliInput),
                      out = word(Msg::CliOutput);
    const std::string lines[] = {
        "info " + file,
        "dump " + file + " [--move ID X Y [X Y ...]]",
        "convert " + in + " " + out,
        "eval " + word(Msg::CliText),
        "render " + file + " " + out + " [--width " + word(Msg::CliWidth) + "] [--height " +
            word(Msg::CliHeight) + "] [--aa] [--smallest]",
        "example " + word(Msg::CliName) + " " + out,
        "export-html " + file + " " + out,
    };
    for (const std::string& line : lines) {
        o.err += (&line == lines ? head : indent) + "qorv-cli " + line + "\n";
        if (line.starts_with("render"))
            for (const int msg : {int(Msg::CliRenderSizes), int(Msg::CliRenderTypes)})
                o.err += indent + "    " + word(msg) + "\n";
    }
    return 2;
}

int failWith(Output& o, int msg) {
    o.err += uiText().message(msg) + "\n";
    return 1;
}

bool canBeOpened(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec) && std::ifstream(path, std::ios::binary);
}

// Reads a document or macro file into `doc`; reports the refusal and returns false when it fails.
bool readFile(Output& o, Document& doc, const std::string& path, ReadResult& r) {
    r = readDocumentFile(doc, path, FileType::Document);
    if (r.kind == FileKind::Document || r.kind == FileKind::Macro) return true;
    failWith(o, r.kind == FileKind::Newer ? Msg::NewerVersion
                : canBeOpened(path)       ? Msg::InvalidFile
                                          : Msg::CannotOpen);
    return false;
}

int macroCount(const Document& doc) {
    int n = 0;
    for (const MacroSlot& m : doc.macros)
        n += m.used ? 1 : 0;
    return n;
}

} // namespace

namespace {

// ---- JSON ---------------------------------------------------------------------------------------

void jsonNumber(std::string& out, double x) {
    if (!std::isfinite(x)) {
        out += "null";
        return;
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.17g", x);
    out += buf;
}

// A JSON string of UTF-8 text; a byte that is not part of a well-formed sequence becomes U+FFFD,
// so that the output is UTF-8 whatever the text holds.
void jsonString(std::string& out, const std::string& s) {
    out += '"';
    for (size_t i = 0; i < s.size();) {
        const size_t n = utf8SequenceLength(s, i);
        if (n == 0) {
            out += "\\ufffd";
            ++i;
            continue;
        }
        if (n > 1) {
            out.append(s, i, n);
            i += n;
            continue;
        }
        const unsigned char c = static_cast<unsigned char>(s[i++]);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += char(c);
            }
        }
    }
    out += '"';
}

int idOf(const Element* e) {
    return e ? e->id : -1;
}

// The samples of a locus or graph in drawing order: [x, y] for each defined sample, null for each
// undefined one and wherever the drawing does not join two samples (a jump; the separate points
// of a grid locus or of a stored family); a closed curve ends on its first sample again.
void dumpSamples(std::string& out, const Element& e) {
    const auto* t = e.tailAs<SampledCurveTail>();
    if (!t) return;
    out += ", \"samples\": [";
    bool empty = true;
    auto put = [&](const std::string& item) {
        out += empty ? "" : ", ";
        out += item;
        empty = false;
    };
    auto point = [&](int i) {
        std::string p = "[";
        jsonNumber(p, t->first[size_t(i)].x);
        p += ", ";
        jsonNumber(p, t->first[size_t(i)].y);
        put(p + "]");
    };
    const int n = storedSamples(*t);
    const bool curve = isCurveLocus(e);
    for (int i = 0; i < n; ++i) {
        if (!isSampleDefined(*t, i)) {
            put("null");
            continue;
        }
        if (i > 0 && isSampleDefined(*t, i - 1) && (!curve || !samplesJoined(*t, i - 1, i)))
            put("null");
        point(i);
    }
    if (n > 2 && isClosedCurve(e) && samplesJoined(*t, n - 1, 0)) point(0);
    out += "]";
}

void dumpElement(std::string& out, const Document& doc, const Element& e) {
    out += "{\"id\": " + std::to_string(e.id);
    out += ", \"method\": " + std::to_string(e.method);
    out += ", \"kind\": " + std::to_string(e.kind());
    out += std::string(", \"defined\": ") + (e.defined ? "true" : "false");
    out += ", \"visible\": " + std::to_string(e.visible);
    out += ", \"value\": [";
    for (int i = 0; i < 4; ++i) {
        if (i) out += ", ";
        jsonNumber(out, e.value[i]);
    }
    out += "], \"option\": " + std::to_string(e.option);
    out += ", \"option2\": " + std::to_string(e.option2);
    out += ", \"parents\": [" + std::to_string(idOf(e.parent1)) + ", " +
           std::to_string(idOf(e.parent2)) + ", " + std::to_string(idOf(e.parent3)) + "]";
    out += ", \"text\": ";
    jsonString(out, displayText(doc, e));
    if (const auto* t = e.tailAs<ConicTail>()) {
        out += ", \"conic\": {\"coefficients\": [";
        for (int i = 0; i < 6; ++i) {
            if (i) out += ", ";
            jsonNumber(out, t->coefficients[i]);
        }
        out += "], \"type\": " + std::to_string(t->conicType) + "}";
    }
    if (e.kind() == Kind::Locus) dumpSamples(out, e);
    if (e.tailAs<IterationTail>())
        out += ", \"copies\": " + std::to_string(walkIteration(doc, e, nullptr));
    if (const auto* t = e.tailAs<PolygonTail>()) {
        out += ", \"vertices\": [";
        for (size_t i = 0; i < t->sides.size(); ++i) {
            if (i) out += ", ";
            out += std::to_string(idOf(t->sides[i]->parent1));
        }
        out += "]";
    }
    out += "}";
}

// ---- commands -----------------------------------------------------------------------------------

int typeWord(const ReadResult& r) {
    return r.hasWindow ? FileType::ViewerDocument : r.type;
}

int info(Output& o, const std::string& path) {
    Document doc;
    ReadResult r;
    if (!readFile(o, doc, path, r)) return 1;
    o.out += "version: " + std::to_string(r.version) + "\ntype: " + std::to_string(typeWord(r)) +
             "\nelements: " + std::to_string(doc.elementCount()) +
             "\nmacros: " + std::to_string(macroCount(doc)) + "\n";
    return 0;
}

// Parses a whole number or decimal given on the command line.
bool parseArgument(const std::string& s, double& v) {
    char* end = nullptr;
    v = std::strtod(s.c_str(), &end);
    return !s.empty() && end && !*end && std::isfinite(v);
}

// Drags the point `id` through the pointer positions given, one drag step each, as the editor's
// move tool does, then recalculates everything as after the drag. False when there is no such
// element or it cannot be dragged.
bool dragThrough(Document& doc, int32_t id, const std::vector<Point2>& path) {
    Element* e = doc.findById(id);
    if (!e) return false;
    DragEngine drag;
    if (!drag.begin(doc, e, {e->value[0], e->value[1]}, false)) return false;
    doc.dragged = e;
    for (const Point2 p : path) {
        drag.move(doc, p);
        drag.recalculate(doc);
    }
    drag.end();
    doc.dragged = nullptr;
    recalcUpTo(doc);
    return true;
}

int dump(Output& o, const std::vector<std::string>& args) {
    // --move ID X Y [X Y ...]: the pointer positions of one drag.
    const bool move = args.size() >= 6 && args.size() % 2 == 0 && args[2] == "--move";
    double id = 0;
    std::vector<Point2> path;
    if (move) {
        if (!parseArgument(args[3], id) || id != std::floor(id) || std::abs(id) > 2e9)
            return usage(o);
        for (size_t k = 4; k + 1 < args.size(); k += 2) {
            Point2 p;
            if (!parseArgument(args[k], p.x) || !parseArgument(args[k + 1], p.y)) return usage(o);
            path.push_back(p);
        }
    } else if (args.size() != 2) {
        return usage(o);
    }
    Document doc;
    ReadResult r;
    if (!readFile(o, doc, args[1], r)) return 1;
    recalcUpTo(doc);
    if (move && !dragThrough(doc, int32_t(id), path)) return usage(o);
    const WorkScope operation(doc); // the copies of every iteration counted within one budget
    std::string& out = o.out;
    out += "{\"version\": " + std::to_string(r.version) +
           ", \"type\": " + std::to_string(typeWord(r)) + ", \"elements\": [";
    for (const Element* e = doc.head; e; e = e->next) {
        out += e == doc.head ? "\n  " : ",\n  ";
        dumpElement(out, doc, *e);
    }
    out += doc.head ? "\n]}\n" : "]}\n";
    return 0;
}

int convert(Output& o, const std::string& in, const std::string& out) {
    Document doc;
    ReadResult r;
    if (!readFile(o, doc, in, r)) return 1;
    bool ok;
    if (r.kind == FileKind::Macro) {
        ok = writeMacroFile(doc.macros[size_t(r.macroSlot)], out);
    } else {
        SaveOptions options;
        options.viewerMode = r.hasWindow;
        options.window = r.window;
        ok = saveDocument(doc, out, options);
    }
    return ok ? 0 : failWith(o, Msg::WriteError);
}

int eval(Output& o, const std::string& text) {
    const std::optional<double> value = evaluateNumberText(text);
    if (!value) return failWith(o, Msg::InvalidExpression);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.17g\n", *value);
    o.out += buf;
    return 0;
}

#ifndef QORV_CLI_NO_DRAWING
// Draws a document at its stored view into a PNG, BMP, SVG, PDF or TikZ file, or writes it as DXF.
int render(Output& o, const std::vector<std::string>& args) {
    if (args.size() < 3) return usage(o);
    ExportRequest request;
    request.width = 960; // the view the examples are made for
    request.height = 660;
    int& width = request.width;
    int& height = request.height;
    for (size_t i = 3; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--aa") {
            request.antialiased = true;
        } else if (a == "--smallest") {
            request.smallestFile = true;
        } else if ((a == "--width" || a == "--height") && i + 1 < args.size()) {
            char* end = nullptr;
            const long v = std::strtol(args[i + 1].c_str(), &end, 10);
            if (!end || *end || v < 1 || v > MaxRenderSide) return usage(o);
            (a == "--width" ? width : height) = int(v);
            ++i;
        } else {
            return usage(o);
        }
    }
    if (int64_t(width) * height > MaxRenderPixels) {
        // "%1" and "%2" stand for the width and the height.
        std::string message = uiText().message(Msg::CliImageTooLarge);
        for (const auto& [mark, value] : {std::pair("%1", width), std::pair("%2", height)})
            if (const size_t at = message.find(mark); at != std::string::npos)
                message.replace(at, 2, std::to_string(value));
        o.err += message + "\n";
        return 1;
    }
    Document doc;
    ReadResult r;
    if (!readFile(o, doc, args[1], r)) return 1;
    if (r.kind != FileKind::Document) return failWith(o, Msg::InvalidFile);
    recalcUpTo(doc);
    std::string error;
    request.antialiased = request.antialiased || doc.antialiased;
    if (!renderDocumentToFile(doc, args[2], request, &error)) {
        o.err += error + "\n";
        return 1;
    }
    return 0;
}

#endif

// Writes one of the bundled example documents, recalculated.
int example(Output& o, const std::string& name, const std::string& path) {
    Document doc;
    if (!buildExample(name, doc)) {
        o.err += uiText().message(Msg::CliNoExample) + " \"" + name + "\"; " +
                 uiText().message(Msg::CliExamples);
        for (std::string_view known : exampleNames())
            o.err += (known == exampleNames().front() ? " " : ", ") + std::string(known);
        o.err += "\n";
        return 2;
    }
    recalcUpTo(doc);
    if (!saveDocument(doc, path)) return failWith(o, Msg::WriteError);
    return 0;
}

// Writes the document as a web page; refuses what the other commands refuse.
int exportHtml(Output& o, const std::string& in, const std::string& out) {
    Document doc;
    ReadResult r;
    if (!readFile(o, doc, in, r)) return 1;
    if (r.kind != FileKind::Document) return failWith(o, Msg::InvalidFile);
    recalcUpTo(doc);
    std::string error;
    if (!writeWebPage(doc, std::filesystem::path(in).stem().string(), out, &error)) {
        o.err += error + "\n";
        return 1;
    }
    return 0;
}

} // namespace

bool useLanguage(const std::string& folder, const std::string& name) {
    return loadLanguageFile(uiText(), folder, name);
}

bool drawsWithQt(const std::vector<std::string>& args) {
    return !args.empty() && args[0] == "render";
}

int run(const std::vector<std::string>& args, std::string& out, std::string& err) {
    Output o{out, err};
    const size_t n = args.size();
    const std::string command = n > 0 ? args[0] : std::string();
    if (command == "info" && n == 2) return info(o, args[1]);
    if (command == "dump") return dump(o, args);
    if (command == "export-html" && n == 3) return exportHtml(o, args[1], args[2]);
    if (command == "convert" && n == 3) return convert(o, args[1], args[2]);
    if (command == "eval" && n == 2) return eval(o, args[1]);
#ifndef QORV_CLI_NO_DRAWING
    if (command == "render") return render(o, args);
#endif
    if (command == "example" && n == 3) return example(o, args[1], args[2]);
    return usage(o);
}

} // namespace qorv::cli
