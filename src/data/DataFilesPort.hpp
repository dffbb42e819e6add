#pragma once

namespace corv::data {

class DataFilesPort {
  public:
    virtual ~DataFilesPort() = default;

    // Checks the download site for a new program version and data files; false when the run
    // must end (an update is being installed).
    virtual bool checkForUpdates() = 0;
};

}  // namespace corv::data
