#pragma once
#include <cstdint>
#include <optional>

// The symbologies of the Format list, in its order: a form's BarType is the
// position here.
enum class Symbology : std::int16_t {
    Ean13,
    Ean8,
    Ean5,
    Ean2,
    UpcA,
    UpcE,
    Code39,
    Code39Ext,
    Code128,
    Code128A,
    Code128B,
    Code128C,
    Ean128,
    Issn,
    Isbn,
    Codabar,
    Custom,
    Interleaved2of5,
    Code25,
    Postnet,
    Post25,
    Code93,
    Plessey,
    MsiPlessey,
    Pdf417,
};
constexpr int kSymbologyCount = int(Symbology::Pdf417) + 1;

// The symbology at a list position; nullopt outside the list (nothing is drawn).
constexpr std::optional<Symbology> symbologyAt(int position)
{
    if (position < 0 || position >= kSymbologyCount)
        return std::nullopt;
    return Symbology(position);
}
