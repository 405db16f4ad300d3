// Where the program keeps its files: the data folder (configuration files) and, inside it,
// the work folder of the cut-file generation and of the DXF import.
#pragma once

#include <string>

#include "outcome.h"

namespace vornelle {

// The data folder, ending in '/': $VORNELLE_HOME/ when set, else $XDG_DATA_HOME/vornelle/,
// else ~/.local/share/vornelle/. Created on demand with mode 0700. A folder that cannot be
// created or written is reported, never used.
Outcome<std::string> cheminTemp();

// The work folder cheminTemp() + "work/", created on demand.
Outcome<std::string> dossierTravail();

}  // namespace vornelle
