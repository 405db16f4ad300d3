// The two passes of the classic DXF import (see dxfimport.h): the ENTITIES section to the
// scratch file tempX of value pairs, then tempX to drawing records. Each returns the refusal
// text, empty on success.
#pragma once

#include <map>
#include <string>

#include "drawing/drawing.h"
#include "dxfpairs.h"

namespace vornelle {

// First pass, from just after the ENTITIES section's name to its ENDSEC. Counts in `skipped`
// the entities that give no cut; a file without any cut is refused ("Aucune entité à
// découper : ...").
std::string writeScratch(PairReader& in, const std::string& scratch, std::map<std::string, long>& skipped);

// Second pass: the records of every cut of tempX appended to `d`, and Text3.
std::string readScratch(const std::string& scratch, Drawing& d);

// The refusal text of a file that holds nothing to cut, naming what it holds.
std::string nothingToCut(const std::map<std::string, long>& skipped);

// "Fichier DXF illisible ligne N : why.\nLe dessin n'a pas été modifié."
std::string unreadableAt(long line, const std::string& why);

}  // namespace vornelle
