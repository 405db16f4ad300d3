// The strategy's settings kept in the details file after its ten classic fields, in the same
// record, so that a reader of the ten fields alone still reads the file, and "Charger fichier
// fraisage(.DEF)" shows the settings again.
#pragma once

#include <optional>
#include <string>

#include "cutfile/details.h"
#include "settings.h"

namespace vornelle {

// The record of `d` followed by the settings (the ten-field record when none is typed).
std::string strategyDetailsRecord(const Details& d, const StrategyTexts& t);

// The settings kept in the details file `path`; no value for a classic details file or one
// that cannot be read.
std::optional<StrategyTexts> readStrategyDetails(const std::string& path);

}  // namespace vornelle
