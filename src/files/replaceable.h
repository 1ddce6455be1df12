#pragma once

#include <optional>
#include <string>

namespace recibo::files {

// What stands at `path`, named for a message ("un dispositivo"), when it is
// something a save must not replace; nothing when the path is free or holds
// a regular file (through symbolic links). Files are saved whole by writing
// a new file beside the old one and renaming it over; over a device such as
// /dev/null, a FIFO, a socket or a folder, that rename would put a regular
// file in its place.
std::optional<std::string> notReplaceable(const std::string& path);

}  // namespace recibo::files
