#include "support/installation.h"

#include "app/log_reader.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace pnl::test {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pnl-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ignored);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

int FakePortQueries::status(int number) {
    return std::count(inUse.begin(), inUse.end(), number) > 0 ? 2 : 0;
}

namespace {

class FakeWatch : public DeviceWatch {
  public:
    explicit FakeWatch(std::function<void()> stop) : stop_(std::move(stop)) {}
    ~FakeWatch() override { stop_(); }

  private:
    std::function<void()> stop_;
};

}  // namespace

std::unique_ptr<DeviceWatch> FakePortDiscovery::watch(std::function<void()> changed) {
    const int id = ++lastWatch_;
    watches_[id] = std::move(changed);
    return std::make_unique<FakeWatch>([this, id] { watches_.erase(id); });
}

void FakePortDiscovery::plug(const SerialDevice& device) {
    plugged.push_back(device);
    tell();
}

void FakePortDiscovery::unplug(const std::string& path) {
    std::erase_if(plugged, [&](const SerialDevice& device) { return device.path == path; });
    tell();
}

void FakePortDiscovery::tell() {
    const auto watches = watches_;  // a watcher may end its watch
    for (const auto& [id, changed] : watches)
        changed();
}

bool FileSystemWithFaults::writeFileAtomic(const std::string& path, const std::string& content,
                                           std::string* error) {
    if (!diskFull || !diskFull(path, content))
        return PosixFileSystem::writeFileAtomic(path, content, error);
    if (error)
        *error = path + ": Auf dem Datenträger ist kein Platz mehr.";
    return false;
}

FileLock::Result FileSystemWithFaults::lockFile(FileLock& lock, const std::string& path,
                                                const std::string& note, std::string* holderNote,
                                                LockFailure* failure) {
    if (lockFilesOf.empty())
        return PosixFileSystem::lockFile(lock, path, note, holderNote, failure);
    if (failure)
        *failure = LockFailure{"Keine Zugriffsrechte.", lockFilesOf};
    return FileLock::Result::Failed;
}

Installation::Installation()
    : program(std::make_unique<Program>(Platform{fs, loop, dialogs, serial, ports}, folder.path())) {}

Installation::~Installation() = default;

void Installation::writeFile(const std::string& name, const std::string& content) const {
    std::ofstream out(path(name), std::ios::binary | std::ios::trunc);
    out << content;
}

std::string Installation::readFile(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Installation::exists(const std::string& name) const {
    return std::filesystem::exists(path(name));
}

std::vector<std::string> Installation::logTexts() const {
    std::vector<std::string> texts;
    for (const auto& entry : readLog(readFile("log/06122026.log"), "06122026"))
        texts.push_back(entry.text && entry.problem.empty() && entry.text->size() > 10
                            ? entry.text->substr(10)
                            : "<undecryptable>");
    return texts;
}

}  // namespace pnl::test
