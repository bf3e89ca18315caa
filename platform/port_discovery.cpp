#include "platform/port_discovery.h"

#include <grp.h>
#include <sys/stat.h>

namespace pnl {

std::string deviceGroup(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return {};
    char buffer[4096];
    group entry{};
    group* found = nullptr;
    if (::getgrgid_r(info.st_gid, &entry, buffer, sizeof buffer, &found) != 0 || !found)
        return std::to_string(info.st_gid);
    return found->gr_name;
}

std::string noAccessText(const std::string& path, const std::string& group) {
    const std::string name = group.empty() ? "dialout" : group;
    return "Sie haben keine Berechtigung, " + path + " zu öffnen: Ihr Benutzer gehört nicht zur Gruppe „" +
           name + "“. Abhilfe: im Terminal „sudo usermod -aG " + name +
           " $USER“ eingeben, danach ab- und wieder anmelden.";
}

}  // namespace pnl
