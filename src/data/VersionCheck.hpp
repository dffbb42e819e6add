#pragma once

#include "data/DataFilesPort.hpp"
#include "data/UpdateContext.hpp"

namespace corv::data {

// The start-up check against the download site's "versions.json": a newer program version is
// installed through updateProgram, newer data files are downloaded into "input" and newer
// livery or add-on data marks a rescan; each local version is saved once its update is done.
// A failed download changes nothing.
class VersionCheck final : public DataFilesPort {
  public:
    explicit VersionCheck(UpdateContext context) : context_(std::move(context)) {}

    bool checkForUpdates() override;

  private:
    UpdateContext context_;
};

}  // namespace corv::data
