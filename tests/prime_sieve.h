// The smallest prime factor of every number up to a limit, by sieve: the
// factors of every accepted length at once, where dividing each length on
// its own would take minutes. Independent of the program's factorisation.
#pragma once

#include <cstdint>
#include <vector>

class PrimeSieve {
public:
    explicit PrimeSieve(int32_t limit) : smallest_(size_t(limit) + 1, 0) {
        for (int32_t p = 2; p <= limit; ++p)
            if (smallest_[p] == 0)
                for (int32_t q = p; q <= limit; q += p)
                    if (smallest_[q] == 0) smallest_[q] = p;
    }

    // For n from 2 up to the limit.
    bool isPrime(int32_t n) const { return smallest_[n] == n; }

    // The prime factors of n (2 up to the limit), ascending, with multiplicity.
    std::vector<int32_t> factors(int32_t n) const {
        std::vector<int32_t> found;
        for (int32_t a = n; a > 1; a /= smallest_[a]) found.push_back(smallest_[a]);
        return found;
    }

private:
    std::vector<int32_t> smallest_;
};
