// Schoolbook multiplication and squaring (TAOCP 4.3.1, Algorithm M).
//
// Instead of carrying after every limb product, the products of up to
// kRowsPerPass rows are summed in 64-bit columns and one carry pass then
// brings the columns back below 10^9. The inner loop is then a plain
// multiply-add that the compiler can vectorise.
#include "kernels.h"
#include "thresholds.h"

#include <algorithm>
#include <array>
#include <vector>

namespace longhand::fast::kern {

namespace {

// (10^9 - 1) + 18 (10^9 - 1)^2 < 2^64: a column below 10^9 takes 18 more
// limb products without overflow.
constexpr std::size_t kRowsPerPass = 18;

// Carries t[from..n) so that every column is below 10^9. The value must fit.
void carryColumns(Wide* t, std::size_t from, std::size_t n) {
    Wide c = 0;
    for (std::size_t k = from; k < n; ++k) {
        Wide v = t[k] + c;
        t[k] = v % kBase;
        c = v / kBase;
    }
}

// Column buffer on the stack for small products, on the heap otherwise.
class Columns {
  public:
    explicit Columns(std::size_t n) {
        if (n <= kStackColumns) {
            std::fill_n(small_.begin(), n, Wide{0});
            p_ = small_.data();
        } else {
            big_.assign(n, 0);
            p_ = big_.data();
        }
    }
    Wide* data() { return p_; }

  private:
    std::array<Wide, kStackColumns> small_;
    std::vector<Wide> big_;
    Wide* p_;
};

void addRow(Wide* t, const Limb* a, std::size_t na, Wide m) {
    for (std::size_t j = 0; j < na; ++j)
        t[j] += m * a[j];
}

} // namespace

void mulBasecase(Limb* r, const Limb* a, std::size_t na, const Limb* b, std::size_t nb) {
    if (na < nb) {
        std::swap(a, b);
        std::swap(na, nb);
    }
    const std::size_t n = na + nb;
    Columns cols(n);
    Wide* t = cols.data();
    for (std::size_t i = 0; i < nb;) {
        const std::size_t from = i;
        const std::size_t end = std::min(nb, i + kRowsPerPass);
        for (; i < end; ++i)
            if (b[i] != 0) addRow(t + i, a, na, b[i]);
        carryColumns(t, from, n);
    }
    for (std::size_t k = 0; k < n; ++k)
        r[k] = static_cast<Limb>(t[k]);
}

void sqrBasecase(Limb* r, const Limb* a, std::size_t n) {
    const std::size_t n2 = 2 * n;
    Columns cols(n2);
    Wide* t = cols.data();
    // Cross products a[i] a[j], i < j.
    for (std::size_t i = 0; i + 1 < n;) {
        const std::size_t from = 2 * i + 1;
        const std::size_t end = std::min(n - 1, i + kRowsPerPass);
        for (; i < end; ++i)
            if (a[i] != 0) addRow(t + 2 * i + 1, a + i + 1, n - i - 1, a[i]);
        carryColumns(t, from, n2);
    }
    // Twice the cross products plus the squares a[i]^2: columns stay below
    // 2 (10^9 - 1) + 2 * 10^9 before the final carry pass.
    for (std::size_t k = 0; k < n2; ++k)
        t[k] *= 2;
    for (std::size_t i = 0; i < n; ++i) {
        Wide sq = Wide{a[i]} * a[i];
        t[2 * i] += sq % kBase;
        t[2 * i + 1] += sq / kBase;
    }
    carryColumns(t, 0, n2);
    for (std::size_t k = 0; k < n2; ++k)
        r[k] = static_cast<Limb>(t[k]);
}

} // namespace longhand::fast::kern
