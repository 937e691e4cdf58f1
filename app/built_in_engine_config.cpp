#include "app/built_in_engine_config.h"

#include "config/built_in_config.h"
#include "platform/system/module_path.h"

namespace vexmor {

EngineConfig BuiltInEngineConfig() {
  EngineConfig config;
  for (std::size_t i = 0; i < kUpdateUrls.size(); ++i) config.updateUrls[i] = kUpdateUrls[i];
  config.publicKey1 = kPublicKey1;
  config.publicKey2 = kPublicKey2;
  config.transfer.caBundle = kCaBundle;
  config.modulePath = platform::GetModulePath();
  config.launcherFolder = config.modulePath.parent_path();
  return config;
}

}  // namespace vexmor
