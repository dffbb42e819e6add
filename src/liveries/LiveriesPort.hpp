#pragma once

namespace corv::liveries {

// What the run and the window's commands ask of the livery subsystem.
class LiveriesPort {
  public:
    virtual ~LiveriesPort() = default;

    virtual bool scannedFileExists() const = 0;
    virtual void scanLiveries() = 0;
    // Builds the matching tables from the scanned liveries; false when already done.
    virtual bool processScannedLiveries() = 0;
    // Empties every livery table of the run, so that a new scan fills them again.
    virtual void clearLiveryData() = 0;
    virtual void logMatchingSummary() = 0;
};

}  // namespace corv::liveries
