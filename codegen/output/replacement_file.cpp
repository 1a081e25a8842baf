#include "codegen/output/replacement_file.h"

#include <chrono>
#include <cstdint>
#include <random>

namespace {

// The exclusive creation is what keeps the file ours; the randomness only
// keeps other programs from choosing the name first.
std::uint64_t randomBits() {
    static std::mt19937_64 generator{[] {
        std::uint64_t seed = std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count());
        try {
            std::random_device device;
            seed ^= std::uint64_t(device()) << 32 ^ device();
        } catch (...) {
            // No entropy source here: the clock alone has to do.
        }
        return seed;
    }()};
    return generator();
}

}  // namespace

std::string temporaryName(const std::string& target) {
    static const char kSymbols[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::uint64_t bits = randomBits();
    std::string name = "." + target + ".";
    for (int i = 0; i < 6; ++i, bits /= 62) name += kSymbols[bits % 62];
    return name;
}
