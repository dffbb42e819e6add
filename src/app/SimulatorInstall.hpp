#pragma once

#include <string>

namespace corv::settings {
class SettingsFile;
}
namespace corv::status {
class ControlStates;
}

namespace corv::services {
class MessageLine;
}

namespace corv::app {

// Prepar3D's installation as the registry records it (major version 5 or 6).
bool keyExists(int majorVersion);
std::string readSetupPath(int majorVersion);

// Finds the installation when no install path is set. Throws corv::UserErrorException 153 when
// both versions are installed, 151 when none is and no livery or airport folder is configured.
void detectSimulator(services::MessageLine& messages, settings::SettingsFile& settings,
                     status::ControlStates& controls);

// "5" or "6": from the install path when it names the version, else from P3D_VERSION.
std::string simMajorVersionText();

}  // namespace corv::app
