#pragma once
// A pseudo-terminal pair for tests that need a real serial device: the test holds the master side and the
// code under test opens the slave by its path.

#include <string>

namespace terrix::test {

class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return master_ >= 0; }
    int master() const { return master_; }
    const std::string& slavePath() const { return slavePath_; }

private:
    int master_ = -1;
    std::string slavePath_;
};

// The number of open file descriptors of this process.
int CountOpenDescriptors();

} // namespace terrix::test
