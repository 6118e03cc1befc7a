#include "win32/ping/keep_alive.h"

namespace zv::win32 {

KeepAlive::KeepAlive(const KeepAliveServices& services, const std::string& program_dir,
                     const std::string& program_title, PingDialogMode dialog_mode)
    : ping_({worker_, sound_, services.files, services.messages}, program_dir, program_title),
      dialog_(ping_, services.messages, services.launcher, program_dir, program_title,
              dialog_mode) {}

}  // namespace zv::win32
