// Entry points and cut order; see cutorder.h. Every search walks one cut at most once, so a
// reorganisation costs a few passes over the records whatever the number of cuts.
#include "cutorder.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "base/numbers.h"

namespace vornelle {
namespace {

// A cut around an in-material record: the approach record deb (marker "D") and the lift
// record fin (marker "F"); deb + 1 is the plunge, fin - 1 the last in-material record.
struct Span {
    size_t deb, fin;
};

// fin is the first "F" after s, deb the first "D" scanning back from fin - 1. Both searches
// stop at the list ends; a "D" at or after s (as in a drawing read back from an FRA file,
// whose marker pairs frame the travels between cuts) frames no cut around s.
std::optional<Span> cutAround(const TextList& markers, size_t s) {
    size_t fin = s + 1;
    while (fin < markers.size() && markers[fin] != "F") ++fin;
    if (fin >= markers.size()) return std::nullopt;
    size_t deb = fin;
    while (deb > 0 && markers[deb - 1] != "D") --deb;
    if (deb == 0) return std::nullopt;
    --deb;
    if (deb >= s) return std::nullopt;
    return Span{deb, fin};
}

bool samePoint(const Drawing& d, size_t a, size_t b) {
    if (d.List1[a] == d.List1[b] && d.List2[a] == d.List2[b]) return true;
    auto xa = coordinateValue(d.List1[a]), xb = coordinateValue(d.List1[b]);
    auto ya = coordinateValue(d.List2[a]), yb = coordinateValue(d.List2[b]);
    return xa && xb && ya && yb && *xa == *xb && *ya == *yb;
}

Message entryRefusal(const char* text) {
    return {text, kEntryTitle, 272};
}

// The positive whole number a List6 entry stands for when it is exactly its decimal text
// ("3", not "03", "3,0" or " 3"), which is what the collection compares with; else 0.
size_t orderNumber(std::string_view t) {
    if (t.empty() || t.size() > 9 || t[0] < '1' || t[0] > '9') return 0;
    size_t k = 0;
    for (char c : t) {
        if (c < '0' || c > '9') return 0;
        k = k * 10 + static_cast<size_t>(c - '0');
    }
    return k;
}

// The entry points in new cut order. Each pass over List6 collects 1, 2, 3... wherever they
// stand after the previous one; the next pass starts again from the top. `passes` such
// passes are made. Instead of rescanning List6, the indices of each number are kept in
// index order and the pass is followed through them.
std::vector<size_t> collectEntries(const TextList& list6, double passes) {
    std::vector<size_t> number(list6.size());
    size_t numbered = 0;
    for (size_t i = 0; i < list6.size(); ++i)
        if (list6[i] != ".") numbered += (number[i] = orderNumber(list6[i])) != 0;
    // A number above `numbered` can never be reached: the ones below it would have to exist.
    std::vector<size_t> first(numbered + 2, 0), where;
    for (size_t k : number)
        if (k != 0 && k <= numbered) ++first[k + 1];
    for (size_t k = 1; k < first.size(); ++k) first[k] += first[k - 1];
    where.resize(first.back());
    std::vector<size_t> fill(first.begin(), first.end() - 1);
    for (size_t i = 0; i < number.size(); ++i)
        if (number[i] != 0 && number[i] <= numbered) where[fill[number[i]]++] = i;

    std::vector<size_t> entries;
    size_t k = 1, start = 0;
    for (double pass = 1; pass <= passes && k <= numbered;) {
        auto b = where.begin() + static_cast<long>(first[k]),
             e = where.begin() + static_cast<long>(first[k + 1]);
        if (b == e) break;  // a missing number ends the collection for good
        auto at = std::lower_bound(b, e, start);
        if (at == e) {
            ++pass;
            start = 0;
            continue;
        }
        entries.push_back(*at);
        start = *at + 1;
        ++k;
    }
    return entries;
}

// Appends the cut deb..fin run from its entry point s to List7, List9, List10. The record
// count of the cut is kept in every case: approach, plunge, in-material records, lift.
void appendCut(Drawing& d, size_t s, Span c) {
    auto add = [&d](size_t j, const char* z) {
        d.List7.push_back(d.List1[j]);
        d.List9.push_back(d.List2[j]);
        d.List10.push_back(z);
    };
    const size_t deb = c.deb, fin = c.fin;
    if (s == deb + 1) {
        // At the plunge (also a cut of a single in-material record): the cut as imported.
        add(s, "0");
        add(s, "1");
        for (size_t e = s + 1; e <= fin - 1; ++e) add(e, "1");
        add(fin - 1, "0");
    } else if (fin - s > 1) {
        // Inside a closed contour: round to the end, on from the plunge (the same point as
        // fin - 1, which is not visited again) back to s.
        add(s, "0");
        add(s, "1");
        size_t e = s + 1;
        do {
            if (e == fin - 1) e = deb + 1;
            add(e, "1");
            ++e;
        } while (e != s + 1);
        add(s, "0");
    } else {
        // At the last in-material record: the cut as imported, from its plunge.
        add(deb + 1, "0");
        add(deb + 1, "1");
        for (size_t e = deb + 2; e <= s; ++e) add(e, "1");
        add(s, "0");
    }
}

}  // namespace

CutOrderResult canEnter(const Drawing& d, size_t index) {
    if (index >= d.List4.size() || index >= d.List6.size() || d.List4[index] == "D" || d.List4[index] == "F")
        return {false, entryRefusal(kEntryOutOfMaterial)};
    return {};
}

Validation validate(Drawing& d, size_t index, std::string_view text1) {
    Validation v;
    if (CutOrderResult c = canEnter(d, index); !c) {
        v.message = c.message;
        return v;
    }
    // Lists of different lengths are refused by the reorganisation; no point to compare here.
    bool aligned = d.List1.size() == d.List4.size() && d.List2.size() == d.List4.size();
    if (auto c = cutAround(d.List4, index);
        aligned && c && index > c->deb + 1 && index < c->fin - 1 && !samePoint(d, c->deb + 1, c->fin - 1)) {
        v.message = entryRefusal(kEntryOpenCut);
        return v;
    }
    auto value = decimalValue(text1);
    if (!value) {
        v.message = entryRefusal(kEntryNotANumber);
        return v;
    }
    d.List6.set(index, text1);
    v.ok = true;
    v.text1 = numberText(*value + 1, ',');
    return v;
}

void removeEntry(Drawing& d, size_t index) {
    if (index < d.List6.size()) d.List6.set(index, ".");
}

void clearEntries(Drawing& d) {
    d.List6.clear();
    d.List6.reserve(d.List3.size(), d.List3.size());
    for (size_t i = 0; i < d.List3.size(); ++i) d.List6.push_back(".");
}

CutOrderResult reorganise(Drawing& d) {
    d.resetMarkers();
    d.List7.clear();
    d.List9.clear();
    d.List10.clear();
    d.List11.clear();
    auto fail = [&d]() {
        clearEntries(d);
        return CutOrderResult{false, {kCutCountIncompatible, kCutCountTitle, 272}};
    };
    const size_t n = d.List1.size();
    if (d.List2.size() != n || d.List3.size() != n || d.List4.size() != n || d.List6.size() != n)
        return fail();

    double passes = decimalValue(d.Text3).value_or(0);
    std::vector<size_t> entries = collectEntries(d.List6, std::floor(passes));
    for (size_t s : entries) d.List11.push_back(std::to_string(s));

    d.List7.reserve(n, 16 * n);
    d.List9.reserve(n, 16 * n);
    d.List10.reserve(n, n);
    std::vector<bool> taken(n, false);  // by approach record: each cut is run once
    size_t g = 0;
    do {
        if (g >= entries.size()) return fail();
        size_t s = entries[g];
        auto c = cutAround(d.List4, s);
        if (!c || taken[c->deb]) return fail();
        taken[c->deb] = true;
        appendCut(d, s, *c);
        ++g;
    } while (d.List7.size() < n);
    if (d.List7.size() != n) return fail();

    d.List1.clear();
    d.List2.clear();
    d.List3.clear();
    d.List4.clear();
    d.List5.clear();
    d.List4.reserve(n, n);
    d.List5.reserve(n, 2 * n);
    d.resetMarkers();
    for (size_t i = 0; i < n; ++i) d.appendRecord(d.List7[i], d.List9[i], d.List10[i]);
    clearEntries(d);
    return {};
}

}  // namespace vornelle
