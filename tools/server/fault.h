#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace vexmor {

// Answer with this status and body instead of the file (404, 503, ...).
struct RespondStatus {
  int status = 0;
  std::string body;
};
// Redirect (301 or 302) to another path of the same server.
struct Redirect {
  int status = 302;
  std::string location;
};
// Accept the request and send nothing, not even the status line, until the server stops (then 503).
struct StallBeforeHeaders {};
// Send the status line and headers of the file, then no body byte until the server stops.
struct StallAfterHeaders {};
// Send this many body bytes of the file, then close the connection.
struct DropAfter {
  std::int64_t bodyBytes = 0;
};
// Send the file at this rate, in steps of a tenth of a second (at least one byte each).
struct Drip {
  std::int64_t bytesPerSecond = 1;
};
// Send the file with the byte at this offset inverted.
struct CorruptByte {
  std::int64_t offset = 0;
};
// Send a body of zero bytes without end (chunked), whatever the path.
struct Endless {};

// One way of misbehaving for the requests a rule matches.
using Fault = std::variant<RespondStatus, Redirect, StallBeforeHeaders, StallAfterHeaders, DropAfter, Drip,
                           CorruptByte, Endless>;

}  // namespace vexmor
