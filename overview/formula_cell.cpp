#include "overview/formula_cell.h"

namespace pnl {
namespace {

// Whether the text, after its leading apostrophes, begins with a character that starts a formula.
bool formulaAfterApostrophes(const std::string& text) {
    const auto first = text.find_first_not_of('\'');
    return first != std::string::npos && std::string("=+-@").find(text[first]) != std::string::npos;
}

}  // namespace

std::string neutralisedCell(const std::string& text) {
    return formulaAfterApostrophes(text) ? "'" + text : text;
}

std::string cellText(const std::string& cell) {
    return cell.starts_with('\'') && formulaAfterApostrophes(cell) ? cell.substr(1) : cell;
}

}  // namespace pnl
