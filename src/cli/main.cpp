// qorv-cli: inspects, dumps and converts document files, and evaluates number texts.
#include "geometry/recalc.h"
#include "model/docfile.h"
#include "model/uitext.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

using namespace qorv;

namespace {

int usage() {
    std::fprintf(stderr, "usage: qorv-cli info FILE\n"
                         "       qorv-cli dump FILE\n"
                         "       qorv-cli convert IN OUT\n"
                         "       qorv-cli eval TEXT\n");
    return 2;
}

int failWith(int msg) {
    std::fprintf(stderr, "%s\n", uiText().message(msg).c_str());
    return 1;
}

// Reads a document or macro file into `doc`; prints the refusal and returns false when it fails.
bool readFile(Document& doc, const char* path, ReadResult& r) {
    r = readDocumentFile(doc, path, FileType::Document);
    if (r.kind == FileKind::Document || r.kind == FileKind::Macro) return true;
    failWith(r.kind == FileKind::Newer ? Msg::NewerVersion : Msg::InvalidFile);
    return false;
}

int macroCount(const Document& doc) {
    int n = 0;
    for (const MacroSlot& m : doc.macros) n += m.used ? 1 : 0;
    return n;
}

// The line the drawing shows for a text-like element. Completed when the measurement texts
// land: numbers, equations, checks and the rest then come from the drawing's own text.
std::string elementText(const Document& doc, const Element& e) {
    if (e.method == Method::Name) return doc.nameOf(&e);
    if (const auto* t = e.tailAs<TextTail>()) {
        std::string s;
        for (size_t i = 0; i < t->lines.size(); ++i) s += (i ? "\n" : "") + t->lines[i];
        return s;
    }
    return {};
}

// The value of a number typed as text. Until the expression language is wired in, a plain
// decimal number with "." or "," as separator and an optional minus sign.
bool evaluateText(const std::string& text, double& value) {
    size_t b = text.find_first_not_of(" \t");
    size_t e = text.find_last_not_of(" \t");
    if (b == std::string::npos) return false;
    std::string s = text.substr(b, e - b + 1);
    bool negative = false;
    if (s[0] == '-') {
        negative = true;
        s.erase(0, 1);
    }
    int separators = 0, digits = 0;
    for (char& c : s) {
        if (c == ',') c = '.';
        if (c == '.')
            ++separators;
        else if (c >= '0' && c <= '9')
            ++digits;
        else
            return false;
    }
    if (digits == 0 || separators > 1) return false;
    double x = 0, scale = 0;
    for (char c : s) {
        if (c == '.') {
            scale = 1;
        } else if (scale > 0) {
            scale /= 10;
            x += (c - '0') * scale;
        } else {
            x = x * 10 + (c - '0');
        }
    }
    value = negative ? -x : x;
    return true;
}

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

void jsonString(std::string& out, const std::string& s) {
    out += '"';
    for (unsigned char c : s) {
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

int idOf(const Element* e) { return e ? e->id : -1; }

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
    jsonString(out, elementText(doc, e));
    if (const auto* t = e.tailAs<ConicTail>()) {
        out += ", \"conic\": {\"coefficients\": [";
        for (int i = 0; i < 6; ++i) {
            if (i) out += ", ";
            jsonNumber(out, t->coefficients[i]);
        }
        out += "], \"type\": " + std::to_string(t->conicType) + "}";
    }
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

int info(const char* path) {
    Document doc;
    ReadResult r;
    if (!readFile(doc, path, r)) return 1;
    std::printf("version: %d\ntype: %d\nelements: %d\nmacros: %d\n", r.version, typeWord(r),
                doc.elementCount(), macroCount(doc));
    return 0;
}

int dump(const char* path) {
    Document doc;
    ReadResult r;
    if (!readFile(doc, path, r)) return 1;
    recalcUpTo(doc);
    std::string out = "{\"version\": " + std::to_string(r.version) +
                      ", \"type\": " + std::to_string(typeWord(r)) + ", \"elements\": [";
    for (const Element* e = doc.head; e; e = e->next) {
        out += e == doc.head ? "\n  " : ",\n  ";
        dumpElement(out, doc, *e);
    }
    out += doc.head ? "\n]}\n" : "]}\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

int convert(const char* in, const char* out) {
    Document doc;
    ReadResult r;
    if (!readFile(doc, in, r)) return 1;
    bool ok;
    if (r.kind == FileKind::Macro) {
        ok = writeMacroFile(doc.macros[size_t(r.macroSlot)], out);
    } else {
        SaveOptions options;
        options.viewerMode = r.hasWindow;
        options.window = r.window;
        ok = saveDocument(doc, out, options);
    }
    return ok ? 0 : failWith(Msg::WriteError);
}

int eval(const char* text) {
    double value = 0;
    if (!evaluateText(text, value)) return failWith(Msg::InvalidExpression);
    std::printf("%.17g\n", value);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    const char* command = argv[1];
    if (std::strcmp(command, "info") == 0 && argc == 3) return info(argv[2]);
    if (std::strcmp(command, "dump") == 0 && argc == 3) return dump(argv[2]);
    if (std::strcmp(command, "convert") == 0 && argc == 4) return convert(argv[2], argv[3]);
    if (std::strcmp(command, "eval") == 0 && argc == 3) return eval(argv[2]);
    return usage();
}
