#pragma once

#include <memory>
#include <optional>
#include <string>

namespace vexmor::platform {

enum class VideoDriver {
  // The display the session runs on (X11 or Wayland, as SDL chooses).
  System,
  // SDL's offscreen driver: windows without a display, for tests.
  Offscreen,
};

struct DisplayMode {
  int width = 0;
  int height = 0;
  // In Hz; 0 when the display does not say.
  int refreshRate = 0;
};

// The video subsystem, started for as long as this object lives. Windows need it and must not
// outlive it.
class VideoSystem {
 public:
  // Null, with the reason in error, when no display can be opened.
  static std::unique_ptr<VideoSystem> Start(VideoDriver driver, std::string& error);
  ~VideoSystem();
  VideoSystem(const VideoSystem&) = delete;
  VideoSystem& operator=(const VideoSystem&) = delete;

  // The current mode of the primary display; empty when it cannot be read.
  std::optional<DisplayMode> PrimaryDisplay() const;

 private:
  VideoSystem() = default;
};

}  // namespace vexmor::platform
