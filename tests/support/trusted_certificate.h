// A test server's certificate made trusted for the whole test program.
#pragma once

#include <windows.h>
#include <wincrypt.h>

#include <gtest/gtest.h>

namespace probe {

// Puts the certificate (a DER file named by an environment variable) into the
// machine root store of the test Wine prefix before the first test and takes
// it out after the last. Certificate checks read that store once per process,
// so the trust must be in place before the first TLS connection.
class TrustedCertificate : public ::testing::Environment {
public:
    explicit TrustedCertificate(const char* derPathVariable) : variable_(derPathVariable) {}
    void SetUp() override;
    void TearDown() override;
    // Whether the certificate was added (for the tests that depend on it).
    static bool Added() { return added_; }

private:
    const char* variable_;
    PCCERT_CONTEXT certificate_ = nullptr;
    static inline bool added_ = false;
};

}  // namespace probe
