// The images compiled into the program. Each array is in the stored layout of
// byte-array constants (int32 1, int32 byte count, then the file's bytes).
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/value_types.h"

// Caption buttons (PNG, 32-bit RGBA).
extern const std::uint8_t kImageDialogClose[];  // 38 x 18
extern const std::size_t kImageDialogCloseSize;
extern const std::uint8_t kImageHelp[];  // 26 x 18
extern const std::size_t kImageHelpSize;
extern const std::uint8_t kImageMainMenu[];  // 26 x 18
extern const std::size_t kImageMainMenuSize;
extern const std::uint8_t kImageMinimise[];  // 26 x 18
extern const std::size_t kImageMinimiseSize;
extern const std::uint8_t kImageMaximise[];  // 26 x 18
extern const std::size_t kImageMaximiseSize;
extern const std::uint8_t kImageRestore[];  // 26 x 18
extern const std::size_t kImageRestoreSize;
extern const std::uint8_t kImageFormClose[];  // 38 x 18
extern const std::size_t kImageFormCloseSize;
// Check boxes (PNG, 32-bit RGBA), 13 x 13.
extern const std::uint8_t kImageCheckBoxOff[];
extern const std::size_t kImageCheckBoxOffSize;
extern const std::uint8_t kImageCheckBoxOn[];
extern const std::size_t kImageCheckBoxOnSize;
// Arrows (PNG, 32-bit RGBA): down and up 7 x 4, left and right 4 x 7.
extern const std::uint8_t kImageArrowDown[];
extern const std::size_t kImageArrowDownSize;
extern const std::uint8_t kImageArrowUp[];
extern const std::size_t kImageArrowUpSize;
extern const std::uint8_t kImageArrowLeft[];
extern const std::size_t kImageArrowLeftSize;
extern const std::uint8_t kImageArrowRight[];
extern const std::size_t kImageArrowRightSize;
// Window background: baseline JPEG, 1024 x 768, 8-bit grey.
extern const std::uint8_t kImageBackground[];
extern const std::size_t kImageBackgroundSize;

enum class EmbeddedImage {
    DialogClose,
    Help,
    MainMenu,
    Minimise,
    Maximise,
    Restore,
    FormClose,
    CheckBoxOff,
    CheckBoxOn,
    ArrowDown,
    ArrowUp,
    ArrowLeft,
    ArrowRight,
    Background,
};
inline constexpr int kEmbeddedImageCount = static_cast<int>(EmbeddedImage::Background) + 1;

// The image file's bytes (a new array the caller owns).
ByteArray EmbeddedImageBytes(EmbeddedImage image);
// The array in its stored layout, in place.
const std::uint8_t* EmbeddedImageStored(EmbeddedImage image, std::size_t* storedSize = nullptr);
// A short name for messages and file names ("form_close", "background", ...).
const char* EmbeddedImageName(EmbeddedImage image);
