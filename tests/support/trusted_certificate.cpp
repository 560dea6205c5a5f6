#include "tests/support/trusted_certificate.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace probe {

namespace {

// Each change is written to the registry when the store is closed.
HCERTSTORE OpenRoot() {
    return ::CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, "Root");
}

}  // namespace

void TrustedCertificate::SetUp() {
    const char* derPath = std::getenv(variable_);
    if (!derPath) return;
    std::ifstream file(derPath, std::ios::binary);
    const std::vector<BYTE> der((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (der.empty()) return;
    certificate_ = ::CertCreateCertificateContext(X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size()));
    if (!certificate_) return;
    HCERTSTORE store = OpenRoot();
    if (!store) return;
    added_ = ::CertAddCertificateContextToStore(store, certificate_, CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    ::CertCloseStore(store, 0);
}

void TrustedCertificate::TearDown() {
    if (added_) {
        HCERTSTORE store = OpenRoot();
        if (store) {
            PCCERT_CONTEXT found =
                ::CertFindCertificateInStore(store, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, certificate_, nullptr);
            if (found) ::CertDeleteCertificateFromStore(found);  // also frees the found context
            ::CertCloseStore(store, 0);
        }
        added_ = false;
    }
    if (certificate_) ::CertFreeCertificateContext(certificate_);
    certificate_ = nullptr;
}

}  // namespace probe
