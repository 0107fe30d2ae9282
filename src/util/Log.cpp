#include "util/Log.h"

#include <cstdio>

namespace mvk::util {

namespace {

std::function<std::time_t()>& clock() {
    static std::function<std::time_t()> source;
    return source;
}

std::time_t now() { return clock() ? clock()() : std::time(nullptr); }

// "YYYYMMDD HH:MM:SS" in UTC.
std::string stamp() {
    const std::time_t seconds = now();
    std::tm fields{};
    gmtime_r(&seconds, &fields);
    char text[96];
    std::snprintf(text, sizeof text, "%04d%02d%02d %02d:%02d:%02d", fields.tm_year + 1900,
                  fields.tm_mon + 1, fields.tm_mday, fields.tm_hour, fields.tm_min, fields.tm_sec);
    return text;
}

} // namespace

Log::Log() = default;

Log::Log(int level) : ownLevel(level) { ownIndent = instance()->ownIndent; }

Log::Log(const std::string& message, int level) : indentStep(1), ownLevel(level) {
    Log* root = instance();
    ++root->ownIndent;
    ownIndent = root->ownIndent;
    write(message, level);
}

Log::~Log() {
    if (indentStep != 0) {
        if (Log* root = existing(); root != nullptr && root != this)
            root->ownIndent -= indentStep;
    }
    if (file.is_open()) {
        file << "[EOF]" << '\n';
        file.close();
    }
}

void Log::log(const std::string& message, int level) { write(message, level); }

void Log::write(const std::string& message, int level) {
    level = effectiveLevel(level);
    if (!accepts(level))
        return;
    emitLine(message, level);
}

void Log::write(const std::string& name, int32_t value, int level) {
    level = effectiveLevel(level);
    if (accepts(level))
        emitLine(name + ": " + std::to_string(value), level);
}

void Log::write(const std::string& name, uint32_t value, int level) {
    level = effectiveLevel(level);
    if (accepts(level))
        emitLine(name + ": " + std::to_string(value), level);
}

void Log::write(const std::string& name, double value, int level) {
    level = effectiveLevel(level);
    if (!accepts(level))
        return;
    std::ostringstream text;
    text << name << ": " << value;
    emitLine(text.str(), level);
}

void Log::write(const std::string& name, const std::string& value, int level) {
    level = effectiveLevel(level);
    if (accepts(level))
        emitLine(name + ": " + value, level);
}

void Log::write(const std::string& name, const char* value, int level) {
    write(name, std::string(value ? value : ""), level);
}

bool Log::accepts(int level) const { return level <= instance()->ownLevel; }

void Log::emitLine(const std::string& message, int level) {
    std::string line = stamp();
    line += " (";
    line += levelName(level);
    line += "): ";
    line.append(static_cast<size_t>(ownIndent + 1 > 0 ? ownIndent + 1 : 0), '\t');
    line += message;
    line += '\n';
    Log* root = instance();
    root->buffer << line;
    if (root->file.is_open())
        root->file << line;
}

void Log::setFile(const std::string& path) {
    if (file.is_open())
        file.close();
    file.clear();
    file.open(path, std::ios::out | std::ios::trunc);
}

void Log::setLevel(int level) { instance()->ownLevel = level; }

int Log::threshold() { return instance()->ownLevel; }

std::string Log::text() const { return instance()->buffer.str(); }

bool Log::save(const std::string& path) const {
    std::ofstream out(path, std::ios::out | std::ios::trunc);
    if (!out.is_open())
        return false;
    out << instance()->buffer.str();
    out.close();
    return !out.fail();
}

void Log::setClock(std::function<std::time_t()> source) { clock() = std::move(source); }

const char* Log::levelName(int level) {
    switch (level) {
    case Critical: return "CRITICAL";
    case Error: return "ERROR";
    case Warning: return "WARNING";
    case Notice: return "NOTICE";
    default: return "DEBUG";
    }
}

} // namespace mvk::util
