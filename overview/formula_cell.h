#pragma once
// Cells a spreadsheet program would evaluate: one that begins with "=", "+", "-" or "@" is taken as a formula
// ("=HYPERLINK(…)" in a name would run when the export is opened). The export writes such a text with an
// apostrophe in front, which spreadsheet programs read as "text as it stands", and the import takes it away
// again, so that an exported file reads back to the stored text.

#include <string>

namespace pnl {

// The cell for a stored text: an apostrophe in front where the text, after any apostrophes it begins with,
// begins with a formula character (so that a text that itself begins so reads back unchanged).
std::string neutralisedCell(const std::string& text);

// The stored text of a cell written so: one leading apostrophe fewer; any other cell as it is.
std::string cellText(const std::string& cell);

}  // namespace pnl
