#include "resources/embedded_images.h"

#include "runtime/bytes.h"

namespace {

struct ImageEntry {
    const std::uint8_t* stored;
    const std::size_t* storedSize;
    const char* name;
};

// In EmbeddedImage order.
const ImageEntry kImages[kEmbeddedImageCount] = {
    {kImageDialogClose, &kImageDialogCloseSize, "dialog_close"},
    {kImageHelp, &kImageHelpSize, "help"},
    {kImageMainMenu, &kImageMainMenuSize, "main_menu"},
    {kImageMinimise, &kImageMinimiseSize, "minimise"},
    {kImageMaximise, &kImageMaximiseSize, "maximise"},
    {kImageRestore, &kImageRestoreSize, "restore"},
    {kImageFormClose, &kImageFormCloseSize, "form_close"},
    {kImageCheckBoxOff, &kImageCheckBoxOffSize, "check_off"},
    {kImageCheckBoxOn, &kImageCheckBoxOnSize, "check_on"},
    {kImageArrowDown, &kImageArrowDownSize, "arrow_down"},
    {kImageArrowUp, &kImageArrowUpSize, "arrow_up"},
    {kImageArrowLeft, &kImageArrowLeftSize, "arrow_left"},
    {kImageArrowRight, &kImageArrowRightSize, "arrow_right"},
    {kImageBackground, &kImageBackgroundSize, "background"},
};

const ImageEntry& Entry(EmbeddedImage image) { return kImages[static_cast<int>(image)]; }

}  // namespace

ByteArray EmbeddedImageBytes(EmbeddedImage image) {
    const ImageEntry& entry = Entry(image);
    return ReadStoredBytes(entry.stored, *entry.storedSize);
}

const std::uint8_t* EmbeddedImageStored(EmbeddedImage image, std::size_t* storedSize) {
    const ImageEntry& entry = Entry(image);
    if (storedSize) *storedSize = *entry.storedSize;
    return entry.stored;
}

const char* EmbeddedImageName(EmbeddedImage image) { return Entry(image).name; }
