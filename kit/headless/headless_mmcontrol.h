// The sound system of the headless backend: the files it can open, with their lengths, the
// devices open now, and every command the multimedia controls sent, for tests to read.
#pragma once
#include <map>
#include <string>
#include <vector>

namespace kit::headless {

class HeadlessMci {
public:
    // Error numbers of the headless devices (those of MCI).
    static constexpr int kErrFileNotFound = 275;
    static constexpr int kErrCannotPlay = 277;  // a file that is not sound

    HeadlessMci() { reset(); }

    // Script. A file not added fails to open with kErrFileNotFound; lengths are in the devices'
    // time format.
    void addFile(const std::string& file, long length);
    void setOpenError(const std::string& file, int error);
    void setPlayError(const std::string& file, int error);
    // Every playing device plays to its end (mode stopped).
    void finishPlaying();

    // Recordings: "open <file>", "time format <n>", "play <file>", "close <file>".
    const std::vector<std::string>& commands() const { return commands_; }
    // The file that plays now on any device, "" when none.
    std::string playing() const;
    int openDevices() const { return int(devices_.size()); }

    void reset();

    // For the headless devices.
    struct Device {
        std::string file;
        bool playing = false;
    };
    int open(const std::string& file);  // returns the device number, or -error
    int play(int device);
    void close(int device);
    Device* device(int id);
    long lengthOf(const std::string& file) const;
    void record(const std::string& line) { commands_.push_back(line); }

private:
    struct File {
        long length = 0;
        int openError = 0, playError = 0;
    };
    std::map<std::string, File> files_;
    std::map<int, Device> devices_;
    int nextDevice_ = 1;
    std::vector<std::string> commands_;
};

// The sound system the headless devices use.
HeadlessMci& mci();
void setMci(HeadlessMci* m);

}  // namespace kit::headless
