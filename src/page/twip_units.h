#pragma once

namespace recibo::receipt {

// The receipt is laid out in twips, 1440 to the inch. At 96 logical dots per
// inch a device-independent pixel is 15 twips, so the receipt keeps its
// proportions at any screen scale and on paper.
inline constexpr int kTwipsPerPixel = 15;

}  // namespace recibo::receipt
