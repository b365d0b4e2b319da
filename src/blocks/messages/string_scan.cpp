// The scan of plain string content: sixteen bytes at a time, for the stop byte and for
// well-formed UTF-8 together, since strings are most of a feed.
#include "string_scan.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace mt {
namespace {

// Bytes that end a run of plain string content: the quotation mark, the backslash and the raw
// control bytes, which a string may not hold.
constexpr std::array<bool, 256> STRING_STOP = [] {
    std::array<bool, 256> stop{};
    for (int b = 0; b < 0x20; ++b) stop[b] = true;
    stop['"'] = true;
    stop['\\'] = true;
    return stop;
}();

// Sixteen bytes handled lane by lane; GCC and Clang lower this to SSE2 or NEON.
using Lanes = unsigned char __attribute__((vector_size(16)));
constexpr std::size_t LANES = sizeof(Lanes);
constexpr Lanes LANE_INDEX = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};

Lanes load_lanes(const char* at) {
    Lanes lanes;
    std::memcpy(&lanes, at, sizeof lanes);
    return lanes;
}

bool any_lane(Lanes lanes) {
    std::uint64_t halves[2];
    std::memcpy(halves, &lanes, sizeof halves);
    return (halves[0] | halves[1]) != 0;
}

// Whether lanes 0 to `last` of `bytes` hold well-formed UTF-8 of one to three bytes per
// character, given the byte one and two places before each lane (zero where that byte is not
// to be looked at). Every byte is judged as a lane of its own block, so the bytes before are
// only asked whether they lead. False also for four-byte characters: the caller then checks
// the run the slow way.
bool lanes_valid_utf8(Lanes bytes, Lanes one_before, Lanes two_before, unsigned last) {
    const Lanes lead2 = (Lanes)((one_before & 0xE0) == 0xC0);
    const Lanes lead3_one = (Lanes)((one_before & 0xF0) == 0xE0);
    const Lanes lead3_two = (Lanes)((two_before & 0xF0) == 0xE0);
    const Lanes continuation = (Lanes)((bytes & 0xC0) == 0x80);
    // A continuation byte stands exactly where a lead byte before it asks for one.
    Lanes wrong = continuation ^ (lead2 | lead3_one | lead3_two);
    // C0 and C1 (always overlong), four-byte leads and the bytes F5..FF.
    wrong |= (Lanes)(((bytes & 0xFE) == 0xC0) | ((bytes & 0xF0) == 0xF0));
    // Overlong three-byte forms (E0 80..9F) and encoded surrogates (ED A0..BF).
    wrong |=
        (Lanes)(((one_before == 0xE0) & ((bytes & 0xE0) == 0x80)) | ((one_before == 0xED) & ((bytes & 0xE0) == 0xA0)));
    if (last < LANES - 1) wrong &= (Lanes)(LANE_INDEX <= (unsigned char)last);
    return !any_lane(wrong);
}

}  // namespace

// Strings are most of a feed, so sixteen bytes are tested at once, for the stop and for
// well-formed UTF-8 together.
PlainRun plain_run(std::string_view bytes, std::size_t from) {
    constexpr bool LANES_IN_ADDRESS_ORDER = std::endian::native == std::endian::little;
    // In the first block of a run, the bytes before the run are not part of it.
    constexpr Lanes FIRST_ONE_BEFORE = {0,    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    constexpr Lanes FIRST_TWO_BEFORE = {0,    0,    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    std::size_t at = from;
    bool valid = true;
    while (bytes.size() - at >= LANES && at >= 2 && LANES_IN_ADDRESS_ORDER) {
        const char* p = bytes.data() + at;
        const Lanes lanes = load_lanes(p);
        const Lanes stop = (Lanes)((lanes < 0x20) | (lanes == '"') | (lanes == '\\'));
        unsigned last = LANES - 1;
        if (any_lane(stop)) {
            std::uint64_t halves[2];
            std::memcpy(halves, &stop, sizeof halves);
            last = halves[0] ? std::countr_zero(halves[0]) / 8 : 8 + std::countr_zero(halves[1]) / 8;
        }
        // The stop lane is checked too, so a character cut short by the stop is caught.
        if (valid) {
            Lanes one_before = load_lanes(p - 1);
            Lanes two_before = load_lanes(p - 2);
            if (at == from) {
                one_before &= FIRST_ONE_BEFORE;
                two_before &= FIRST_TWO_BEFORE;
            }
            // Plain ASCII, the common case, needs no more than this.
            if (any_lane((lanes | one_before | two_before) & 0x80))
                valid = lanes_valid_utf8(lanes, one_before, two_before, last);
        }
        if (last < LANES - 1 || stop[LANES - 1]) return {at + last, valid};
        at += LANES;
    }
    // The last few bytes of the input: found byte by byte, validated by the caller.
    while (at < bytes.size() && !STRING_STOP[static_cast<unsigned char>(bytes[at])]) ++at;
    return {at, false};
}

}  // namespace mt
