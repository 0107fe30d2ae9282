#pragma once
// Makes every write past `bytes` into any file of this process fail (EFBIG) for the lifetime of
// the object: a real failing write that works for root too. SIGXFSZ is ignored meanwhile, so the
// write reports the error instead of ending the process.
#include <sys/resource.h>

#include <csignal>
#include <cstddef>

namespace qvn::test {

class FileSizeLimit {
public:
    explicit FileSizeLimit(size_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved{};
    struct sigaction savedAction {};
};

} // namespace qvn::test
