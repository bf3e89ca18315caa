// The commit record (SICHERUNG-LAEUFT.TXT): any bytes parse or are refused with a reason, a record that
// parses names only the installation's two files, and it is written and read back as the same record.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/commit_record.h"
#include "app/program.h"

namespace {

bool sameEntries(const std::vector<pnl::CommitEntry>& a, const std::vector<pnl::CommitEntry>& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].name != b[i].name || a[i].inPlace != b[i].inPlace || a[i].oldState != b[i].oldState ||
            a[i].newState != b[i].newState)
            return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string why;
    const auto entries = pnl::parseCommitRecord(text, &why);
    if (!entries) {
        if (why.empty())
            std::abort();
        return 0;
    }
    for (const auto& e : *entries)
        if (e.name != pnl::kDatabaseFile && e.name != pnl::kSettingsFile)
            std::abort();
    const auto again = pnl::parseCommitRecord(pnl::formatCommitRecord(*entries));
    if (!again || !sameEntries(*again, *entries))
        std::abort();
    return 0;
}
