#pragma once
// The system's single text log: timestamped, levelled, indented lines into an in-memory buffer
// and, once opened, a log file. Stack objects open nested sections or carry a default level.
#include "util/Singleton.h"

#include <cstdint>
#include <ctime>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

namespace mvk::util {

class Log : public Singleton<Log> {
public:
    // Levels; a lower number is more severe.
    static constexpr int Critical = 0;
    static constexpr int Error = 1;
    static constexpr int Warning = 2;
    static constexpr int Notice = 3;

    // The singleton's constructor: threshold 3, no file, empty buffer.
    Log();
    // A logger with a default level; its lines use the depth current when it was made.
    explicit Log(int level);
    // A section: one level deeper until destroyed; writes `message` as its header.
    Log(const std::string& message, int level);
    Log(const Log&) = delete;
    Log& operator=(const Log&) = delete;
    ~Log() override;

    // Same as write().
    virtual void log(const std::string& message, int level = -1);
    // One line; a negative level means this object's own level. Lines above the threshold are
    // dropped before any formatting.
    virtual void write(const std::string& message, int level = -1);

    // name + ": " + value, with the value in default stream formatting.
    void write(const std::string& name, int32_t value, int level);
    void write(const std::string& name, uint32_t value, int level);
    void write(const std::string& name, double value, int level);
    void write(const std::string& name, const std::string& value, int level);
    void write(const std::string& name, const char* value, int level);

    // On the singleton: closes an open file (without "[EOF]") and opens `path` truncated. A
    // failure leaves the buffer as the only destination.
    void setFile(const std::string& path);
    bool hasFile() const { return file.is_open(); }
    // Sets the threshold on the singleton (creating it if needed).
    static void setLevel(int level);
    static int threshold();
    // A copy of everything logged since the singleton was made.
    std::string text() const;
    // Writes the buffer into `path`; false when the file cannot be written.
    bool save(const std::string& path) const;

    int level() const { return ownLevel; }
    int indent() const { return ownIndent; }

    // The clock behind the time stamps (seconds since the epoch, UTC); tests inject their own.
    // An empty function restores the system clock.
    static void setClock(std::function<std::time_t()> clock);
    // The name a level carries in a line ("CRITICAL", "ERROR", "WARNING", "NOTICE").
    static const char* levelName(int level);

private:
    bool accepts(int level) const;
    int effectiveLevel(int level) const { return level < 0 ? ownLevel : level; }
    void emitLine(const std::string& message, int level);

    std::ofstream file;
    std::ostringstream buffer;
    int32_t indentStep = 0;
    int32_t ownIndent = -1;
    int32_t ownLevel = 3;
};

} // namespace mvk::util
