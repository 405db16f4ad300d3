// The resume file; see resumefile.h. One "key=value" per line after a header line, numbers in
// decimal (feeds written so that they read back to the same double).
#include "resumefile.h"

#include <charconv>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

#include "base/files.h"

namespace vornelle {
namespace {

constexpr const char* kHeader = "vornelle-reprise 1";
constexpr const char* kInProgress = "vornelle-reprise en-cours";

std::string baseName(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool endsWithDef(const std::string& s) {
    if (s.size() < 4) return false;
    std::string e = s.substr(s.size() - 4);
    for (char& c : e) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return e == ".def";
}

std::string number(double v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

template <class T>
bool read(const std::string& text, T& out) {
    auto r = std::from_chars(text.data(), text.data() + text.size(), out);
    return r.ec == std::errc() && r.ptr == text.data() + text.size();
}

Failure bad(const std::string& what) {
    return Failure{"Fichier de reprise illisible (" + what + ")."};
}

}  // namespace

std::string resumePathFor(const std::string& cutPath) {
    std::string stem = endsWithDef(cutPath) ? cutPath.substr(0, cutPath.size() - 4) : cutPath;
    return stem + ".reprise";
}

Outcome<FileStamp> stampOf(const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!f) return Failure{"Fichier " + path + " illisible."};
    FileStamp s;
    s.digest = 14695981039346656037ull;  // FNV-1a 64 offset basis
    std::vector<char> buf(1 << 16);
    size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), f.get())) > 0) {
        s.size += n;
        for (size_t i = 0; i < n; ++i)
            s.digest = (s.digest ^ static_cast<unsigned char>(buf[i])) * 1099511628211ull;
    }
    if (std::ferror(f.get())) return Failure{"Fichier " + path + " illisible."};
    return s;
}

std::string resumeText(const ResumePoint& p) {
    std::string t = std::string(kHeader) + "\n";
    auto line = [&t](const char* k, const std::string& v) { t += std::string(k) + "=" + v + "\n"; };
    line("fichier", p.cut);
    line("taille", std::to_string(p.size));
    line("empreinte", std::to_string(p.digest));
    line("joues", std::to_string(p.played));
    line("total", std::to_string(p.total));
    line("horsmatiere", std::to_string(p.horsmatiere));
    line("vitdans", number(p.vitdans));
    line("vithors", number(p.vithors));
    line("curseur", std::to_string(p.pace));
    line("x", std::to_string(p.position[0]));
    line("y", std::to_string(p.position[1]));
    line("z", std::to_string(p.position[2]));
    if (p.lifted != 0) line("leve", std::to_string(p.lifted));
    if (!p.frame.empty()) line("repere", p.frame);
    return t;
}

Outcome<ResumePoint> parseResume(const std::string& text) {
    std::map<std::string, std::string> v;
    size_t pos = 0;
    bool first = true;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string l = text.substr(pos, end - pos);
        pos = end + 1;
        if (!l.empty() && l.back() == '\r') l.pop_back();
        if (first) {
            if (l == kInProgress) return Failure{kRunDied};
            if (l != kHeader) return bad("en-tête");
            first = false;
            continue;
        }
        if (l.empty()) continue;
        size_t eq = l.find('=');
        if (eq == std::string::npos) return bad("ligne " + l);
        v[l.substr(0, eq)] = l.substr(eq + 1);
    }
    if (first) return bad("vide");
    ResumePoint p;
    auto need = [&v](const char* k, auto& out) { return v.count(k) && read(v[k], out); };
    if (!v.count("fichier") || v["fichier"].empty()) return bad("fichier");
    p.cut = v["fichier"];
    if (!need("taille", p.size)) return bad("taille");
    if (!need("empreinte", p.digest)) return bad("empreinte");
    if (!need("joues", p.played)) return bad("joues");
    if (!need("total", p.total) || p.played > p.total) return bad("total");
    if (!need("horsmatiere", p.horsmatiere) || (p.horsmatiere != 0 && p.horsmatiere != 1))
        return bad("horsmatiere");
    if (!need("vitdans", p.vitdans) || p.vitdans < 0 || p.vitdans > 100) return bad("vitdans");
    if (!need("vithors", p.vithors) || p.vithors < 0 || p.vithors > 100) return bad("vithors");
    if (!need("curseur", p.pace) || p.pace < 0 || p.pace > 100) return bad("curseur");
    if (!need("x", p.position[0]) || !need("y", p.position[1]) || !need("z", p.position[2]))
        return bad("position");
    if (v.count("leve") && (!read(v["leve"], p.lifted) || p.lifted < 0)) return bad("leve");
    if (v.count("repere")) p.frame = v["repere"];
    return p;
}

std::string machineFrame(const int (&dir)[3], const int (&clk)[3], const bool (&inv)[3],
                         const std::array<std::string, 3>& stepsPerMm, bool zHighIsDown) {
    std::string f;
    for (int a = 0; a < 3; ++a) {
        f += std::string(a ? ";" : "") + "XYZ"[a] + ":" + std::to_string(dir[a]) + "/" + std::to_string(clk[a]) +
             (inv[a] ? "/inv" : "/") + "/" + stepsPerMm[a];
    }
    return f + (zHighIsDown ? ";Zhaut" : ";Zbas");
}

std::string frameChange(const std::string& stored, const std::string& now) {
    if (stored.empty() || stored == now) return {};
    return "La configuration de la machine (câblage, sens des axes ou pas par mm) a changé depuis "
           "l'interruption : la position enregistrée ne correspond plus à la machine et la découpe ne peut "
           "pas être reprise.\nAvant : " +
           stored + "\nMaintenant : " + now;
}

Status writeResume(const std::string& cutPath, ResumePoint p) {
    auto s = stampOf(cutPath);
    if (!s) return Status::failure(s.error());
    p.cut = baseName(cutPath);
    p.size = s->size;
    p.digest = s->digest;
    return replaceFile(resumePathFor(cutPath), resumeText(p));
}

Status markRunInProgress(const std::string& cutPath) {
    return replaceFile(resumePathFor(cutPath), std::string(kInProgress) + "\nfichier=" + baseName(cutPath) + "\n");
}

Outcome<ResumePoint> readResume(const std::string& cutPath) {
    std::string path = resumePathFor(cutPath);
    auto text = readFile(path);
    if (!text) return Failure{text.error()};
    auto p = parseResume(*text);
    if (!p && p.error() == kRunDied) return Failure{p.error()};
    if (!p) return Failure{path + " : " + p.error()};
    if (p->cut != baseName(cutPath))
        return Failure{"La reprise " + path + " est celle du fichier découpe " + p->cut + ", pas de " +
                       baseName(cutPath) + " : elle ne peut pas servir."};
    auto s = stampOf(cutPath);
    if (!s) return Failure{s.error()};
    if (s->size != p->size || s->digest != p->digest)
        return Failure{"Le fichier découpe " + baseName(cutPath) +
                       " a changé depuis l'interruption : la découpe ne peut pas être reprise."};
    return p;
}

bool hasResume(const std::string& cutPath) {
    return !cutPath.empty() && fileExists(resumePathFor(cutPath));
}

Status removeResume(const std::string& cutPath) {
    return removeFile(resumePathFor(cutPath));
}

}  // namespace vornelle
