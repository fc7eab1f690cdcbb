#include "ProcessLimits.h"

#include <QProcess>
#include <sys/resource.h>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool AddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool AddressSanitizer = true;
#else
constexpr bool AddressSanitizer = false;
#endif
#else
constexpr bool AddressSanitizer = false;
#endif

// Runs in the forked child: setrlimit only, which is safe there.
void Limit(QProcess& AProcess, int AResource, qint64 ABytes) {
    const auto Previous = AProcess.childProcessModifier();
    AProcess.setChildProcessModifier([Previous, AResource, ABytes] {
        if (Previous)
            Previous();
        const rlimit Value{rlim_t(ABytes), rlim_t(ABytes)};
        ::setrlimit(AResource, &Value);
    });
}

} // namespace

void LimitAddressSpace(QProcess& AProcess, qint64 ABytes) {
    if (!AddressSanitizer)
        Limit(AProcess, RLIMIT_AS, ABytes);
}

void LimitStack(QProcess& AProcess, qint64 ABytes) {
    Limit(AProcess, RLIMIT_STACK, ABytes);
}
