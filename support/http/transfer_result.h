#pragma once

namespace vexmor {

// How a transfer ended.
enum class TransferResult : int {
  TransferOk = 0,         // completed with a final status of 200
  TransferFileError = 1,  // the target file could not be opened for writing; no request was made
  TransferFailed = 2,     // transport error, cancelled, stalled, too large, or a final status other than 200
};

}  // namespace vexmor
