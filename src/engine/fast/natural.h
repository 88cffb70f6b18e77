// Natural numbers in a decimal radix for the fast arithmetic paths.
//
// A Natural is a little-endian vector of limbs in base 10^9: limb i weighs
// 10^(9 i). The canonical form has no high zero limbs, so zero is the empty
// vector. A decimal radix keeps text conversion a single linear pass, which
// is what a calculator that reads and shows every result as text needs.
//
// The raw kernels (declared in kernels.h) work on limb pointers with explicit
// sizes; the functions here are the safe, allocating layer above them.
#pragma once

#include "cancel.h"
#include "thresholds.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace longhand::fast {

using Limb = std::uint32_t;
using Wide = std::uint64_t;
inline constexpr Limb kBase = 1000000000u;
inline constexpr int kLimbDigits = 9;

// Blocks of kLargeBytes and more get mappings of their own from the
// system (memory.cpp), aligned to 2 MiB and offered for huge pages (fewer
// page faults and TLB misses in the transforms), so that their memory
// never stays in the allocator's per-thread heaps. While a MemoryScope is
// open, freed blocks are kept and reused by later ones instead of going
// back to the system and being faulted in (and zeroed) afresh.
void* mapLarge(std::size_t bytes);
void unmapLarge(void* p, std::size_t bytes) noexcept;

// One long calculation: from the first scope opened to the last one
// closed (scopes may nest and overlap across threads), freed large blocks
// stay in the process for the next steps; then they all go back.
class MemoryScope {
  public:
    MemoryScope();
    ~MemoryScope();
    MemoryScope(const MemoryScope&) = delete;
    MemoryScope& operator=(const MemoryScope&) = delete;
    // Bytes freed and kept for reuse at the moment.
    static std::size_t kept();
    // Gives back what is kept now, before memory that the arena cannot
    // serve (a long text) is taken.
    static void release();
    // Lays kept memory under the whole pages of [p, p + bytes): a block
    // of this program's own (a long text's, from the allocator) whose
    // contents do not matter any more. Its pages are then kept ones,
    // faulted in already, instead of fresh ones that the system zeroes on
    // their first touch. For private anonymous memory only, such as a
    // block of at least kLendableBytes, which the allocator maps on its own.
    static void lendKept(void* p, std::size_t bytes);
};

// Faults in the pages of a fresh buffer (a long text, say) on every
// thread, before a single-threaded writer would fault them in one by one.
// Small pages: a buffer written once gains nothing from huge ones, whose
// first fault costs more (measured on a shared virtual machine, where a
// fresh huge page often costs the host's backing of 2 MiB at once). Polls the
// cancellation check between pieces.
void prefault(void* p, std::size_t bytes, const CancelCheck* cancel = nullptr);

// Allocates like std::allocator but leaves elements default-initialised
// (that is, not zeroed) when a size alone is given: Natural(n) is n limbs
// of garbage for a kernel to fill, Natural(n, 0) is n zero limbs. Saves a
// pass over memory that every product would otherwise pay. Large blocks
// are mapped (mapLarge).
template <class T> struct UninitAllocator : std::allocator<T> {
    template <class U> struct rebind { using other = UninitAllocator<U>; };
    UninitAllocator() = default;
    template <class U> UninitAllocator(const UninitAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) {
        if (n * sizeof(T) >= kLargeBytes) return static_cast<T*>(mapLarge(n * sizeof(T)));
        return std::allocator<T>::allocate(n);
    }
    void deallocate(T* p, std::size_t n) noexcept {
        if (n * sizeof(T) >= kLargeBytes)
            unmapLarge(p, n * sizeof(T));
        else
            std::allocator<T>::deallocate(p, n);
    }
    template <class U> void construct(U* p) noexcept { ::new (static_cast<void*>(p)) U; }
    template <class U, class... Args> void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

using Natural = std::vector<Limb, UninitAllocator<Limb>>;

// Drops high zero limbs.
inline void trim(Natural& a) {
    while (!a.empty() && a.back() == 0)
        a.pop_back();
}

// --- text ---------------------------------------------------------------

// Parses a digit string ('0'..'9' only, leading zeros allowed, "" is zero).
// Throws std::invalid_argument on any other character.
Natural fromDigits(std::string_view digits, const CancelCheck* cancel = nullptr);

// The digits of a, most significant first, without leading zeros, padded on
// the left with '0' to at least minWidth characters. Zero is "0" when
// minWidth is 0 (and minWidth zeros otherwise).
std::string toDigits(const Natural& a, std::size_t minWidth = 0,
                     const CancelCheck* cancel = nullptr);

// Writes exactly width digits of a (which must fit) into out, zero padded.
void writeDigits(const Natural& a, char* out, std::size_t width,
                 const CancelCheck* cancel = nullptr);

// Count of decimal digits of a (0 for zero).
std::size_t digitCount(const Natural& a);

// --- small values ---------------------------------------------------------

Natural fromU64(std::uint64_t v);
// 10^k.
Natural pow10(std::uint64_t k);
// a * 10^k (a shift by whole limbs plus one short multiplication).
Natural shiftDecimal(const Natural& a, std::uint64_t k, const CancelCheck* cancel = nullptr);

// --- comparison and linear arithmetic -------------------------------------

// -1, 0 or 1 as a <, =, > b (both canonical).
int compare(const Natural& a, const Natural& b);
Natural add(const Natural& a, const Natural& b);
// a - b; requires a >= b.
Natural sub(const Natural& a, const Natural& b);
// a += b; a -= b (requires a >= b), in place.
void addInPlace(Natural& a, const Natural& b);
void subInPlace(Natural& a, const Natural& b);
// a * m and a / m for a single limb m (1 <= m < 10^9); divSmall returns the
// remainder.
Natural mulSmall(const Natural& a, Limb m, const CancelCheck* cancel = nullptr);
Limb divSmallInPlace(Natural& a, Limb m);

// --- multiplication (mul.cpp: the algorithm ladder) ------------------------

// Long working arrays of 64-bit words; large ones are mapped (mapLarge).
struct WordsDeleter {
    std::size_t bytes = 0; // a mapped block's size; 0 for the allocator's
    void operator()(std::uint64_t* p) const noexcept;
};
using WordBuffer = std::unique_ptr<std::uint64_t[], WordsDeleter>;
WordBuffer allocateWords(std::size_t n);

// Working memory that the products of one long operation lend each other:
// the transforms' buffers stay mapped instead of going back to the system
// and being faulted in afresh by the next product, which on this kind of
// machine costs as much as a good part of the arithmetic.
class Scratch {
  public:
    Scratch();
    ~Scratch();
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    // A buffer of at least n words, valid until the next call: for a
    // single user. Holds the largest buffer asked for so far.
    std::uint64_t* words(std::size_t n);

    // A buffer of at least n words lent to one product until the lease
    // ends. Products on several threads at once each get their own: a
    // free buffer that is large enough but not more than twice as large,
    // else a new one (the free buffers are then given back first, so the
    // memory kept stays near what the current step needs). With a null
    // owner the lease allocates a buffer of its own.
    class Lease {
      public:
        Lease(Scratch* owner, std::size_t n);
        ~Lease();
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        std::uint64_t* get() const { return buf_.get(); }

      private:
        Scratch* owner_;
        WordBuffer buf_;
        std::size_t size_;
    };

  private:
    struct Pool;
    WordBuffer buf_;
    std::size_t size_ = 0;
    std::unique_ptr<Pool> pool_;
};

// The long operations below take an optional cancellation check (cancel.h).

Natural mul(const Natural& a, const Natural& b, const CancelCheck* cancel = nullptr,
            Scratch* scratch = nullptr);
Natural sqr(const Natural& a, const CancelCheck* cancel = nullptr, Scratch* scratch = nullptr);

// --- division (div.cpp) ----------------------------------------------------

// Floor division: q = floor(a / b), r = a - q b. Throws std::domain_error
// when b is zero. q and r may not alias a or b.
void divMod(const Natural& a, const Natural& b, Natural& q, Natural& r,
            const CancelCheck* cancel = nullptr);

// --- powers and products (pow.cpp, product_tree.cpp) ----------------------

Natural power(const Natural& base, std::uint64_t e, const CancelCheck* cancel = nullptr);
// lo * (lo + 1) * ... * hi; 1 when lo > hi.
Natural consecutiveProduct(std::uint64_t lo, std::uint64_t hi, const CancelCheck* cancel = nullptr);
Natural factorial(std::uint64_t n, const CancelCheck* cancel = nullptr);
// n choose k; 0 when k > n.
Natural binomial(std::uint64_t n, std::uint64_t k, const CancelCheck* cancel = nullptr);

// --- greatest common divisor (gcd.cpp) --------------------------------------

// gcd(a, b); gcd(0, 0) = 0. Subquadratic: half-gcd on the top limbs.
Natural gcd(const Natural& a, const Natural& b, const CancelCheck* cancel = nullptr);

// --- roots (root.cpp) -------------------------------------------------------

// floor(M^(1/k)) for 1 <= k < 10^9; *exact (when given) says whether it is
// M's exact root. Newton's iteration on the reciprocal root.
Natural root(const Natural& M, std::uint64_t k, bool* exact = nullptr,
             const CancelCheck* cancel = nullptr);

// --- other bases (radix.cpp) -------------------------------------------------

// n in base 2 to 36 (digits 0-9 then a-z), and back (a-z or A-Z; any other
// character, or a digit not below the base, throws std::invalid_argument).
std::string toBase(const Natural& n, unsigned base, const CancelCheck* cancel = nullptr);
Natural fromBase(std::string_view text, unsigned base, const CancelCheck* cancel = nullptr);

// --- primality (prime.cpp) ---------------------------------------------------

// Proven prime below 3 317 044 064 679 887 385 961 981 (Miller's test to
// the first thirteen prime bases), a Baillie-PSW probable prime above it,
// composite, or neither (0 and 1).
enum class Primality { Neither, Composite, Prime, ProbablePrime };
Primality primality(const Natural& n, const CancelCheck* cancel = nullptr);
// The least prime (or, above the bound, probable prime) greater than n.
Natural nextPrime(const Natural& n, const CancelCheck* cancel = nullptr);

} // namespace longhand::fast
