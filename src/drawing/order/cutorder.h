// Entry points and cut order: the checks of the entry-order list List6 (double click,
// "Valider"), clearing the entry points, and "Réorganisation coupes", which rebuilds the
// drawing cut by cut in the new order, each cut run from its chosen entry point.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/message.h"
#include "drawing/drawing.h"

namespace vornelle {

constexpr const char* kEntryOutOfMaterial =
    "Ne pas mettre de point d'entrée hors de la matière (quand les coordonnées Z sont à 0)";
constexpr const char* kEntryOpenCut = "Point d'entrée impossible : cette découpe n'est pas fermée.";
constexpr const char* kEntryNotANumber =
    "Le numéro d'ordre de la découpe doit être un nombre (par exemple 1, 2, 3...).";
constexpr const char* kEntryTitle = "essaie encore";
constexpr const char* kCutCountIncompatible =
    "le nombre de découpes est incompatible avec le fichier d'origine";
constexpr const char* kCutCountTitle = "Mauvaise saisie !";

// Ok, or the message box to show (text, title, style 272); a refused action changed nothing.
struct CutOrderResult {
    bool ok = true;
    Message message;
    explicit operator bool() const { return ok; }
};

// Double click on List6[index]: ok means the entry-point dialog may open for this record.
// Refused on approach and lift records (marker "D" or "F") and on an index past the end.
CutOrderResult canEnter(const Drawing& d, size_t index);

struct Validation {
    bool ok = false;
    Message message;    // when refused: nothing was changed
    std::string text1;  // when ok: the next order number to show in Text1
    explicit operator bool() const { return ok; }
};

// "Valider": List6[index] = text1 (the text as typed), and the next Text1 is the general
// decimal text of text1 + 1. Refused, in this order: a record out of the material (as
// canEnter), a record of an open cut other than its first or last in-material record (the
// run from there would cross the material where the drawing has no line), a text1 that is
// not a number (decimal comma).
Validation validate(Drawing& d, size_t index, std::string_view text1);

// "Supprimer un point d'entrée": List6[index] = "." (nothing when index is past the end).
void removeEntry(Drawing& d, size_t index);

// "Supprimer tous les points d'entrée": List6 = one "." per record of List3.
void clearEntries(Drawing& d);

// "Réorganisation coupes": the entry points numbered 1, 2, 3... (collected as many times
// over List6 as Text3 says) give the new order; each cut is rebuilt from its entry point,
// List1..List5 are rebuilt through the marker rule, Text3 stays, List6 is cleared. Fails with
// kCutCountIncompatible when the entry points do not give every cut exactly once (a cut
// without entry point, a gap in the numbers, two entry points in one cut, markers that do not
// frame the entry point as after an FRA read); then List1..List5 are as they were and the
// entry points are cleared all the same. List7, List9, List10, List11 keep the work done.
// Linear in the number of records.
CutOrderResult reorganise(Drawing& d);

}  // namespace vornelle
