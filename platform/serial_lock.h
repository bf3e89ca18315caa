#pragma once
// Exclusive use of a serial device: the advisory flock on the open device and the UUCP lock file
// (/var/lock/LCK..ttyS0 holding the owner's process id as ten ASCII characters and a line feed) that other
// serial programs on the PC honour. Part of the POSIX serial adapter.

#include <string>

namespace pnl::serial_lock {

// The device behind a path, symbolic links resolved, so that two names of one port share one lock; the path
// itself when it cannot be resolved.
std::string devicePath(const std::string& path);

// "/dev/ttyS0" -> "<folder>/LCK..ttyS0"; "/dev/pts/3" -> "<folder>/LCK..pts_3".
std::string lockFilePath(const std::string& folder, const std::string& device);

// The process id in the lock file when that process is alive (this process included); 0 when there is no lock
// file, it cannot be read, or its process has ended (a stale lock).
long liveHolder(const std::string& lockFile);

// True when the lock file keeps this process from the port: its process is alive, or it is stale but this
// process cannot remove it (no write right to its folder, another user's file in a sticky folder, or no plain
// file), so that taking the lock would fail as well.
bool blocks(const std::string& lockFile);

// True when another process holds the device open, with or without a lock (as fuser finds it, through
// /proc/<pid>/fd of the processes this user may see). The process that plays the device (holding the master
// side of a pseudo-terminal) is no user of the port, and neither is this process.
bool openInAnotherProcess(const std::string& device);

enum class LockResult { Taken, Skipped, Busy };
// Creates the lock file for this process. A stale lock file is replaced. Skipped when the lock folder is not
// writable (the flock alone then guards the port); Busy when a live process holds it.
LockResult take(const std::string& lockFile);
// Removes the lock file when it names this process.
void release(const std::string& lockFile);

// True when another open file (in this process or another) holds the flock of the device; opens the device
// without waiting for a carrier. Also true when the device refuses to be opened because it is held
// exclusively (EBUSY).
bool flockHeldElsewhere(const std::string& device);

}  // namespace pnl::serial_lock
