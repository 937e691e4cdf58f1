#include "patcher/patcher.h"
#include "support/paths/text.h"
#include "support/signature/signature.h"

namespace vexmor {

std::wstring Patcher::FetchNews(const std::string& documentsBase) {
  std::string document;
  std::string signature;
  if (http_.FetchToMemory(documentsBase + "/news.txt", document, &cancelRequested) != TransferResult::TransferOk ||
      http_.FetchToMemory(documentsBase + "/news.sig", signature, &cancelRequested) != TransferResult::TransferOk ||
      !VerifyDocument(document, signature, config_.publicKey1, config_.publicKey2)) {
    return {};  // nothing is shown; a later attempt fetches it again
  }
  return AnsiToWide(document);
}

}  // namespace vexmor
