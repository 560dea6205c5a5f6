// Image wrapper: images from files or bytes, their properties, and saving
// through the installed encoders. An image loaded from bytes keeps its own
// copy of them in a memory stream for as long as the native image lives,
// also after a create member has replaced it in the wrapper.
#pragma once

#include <memory>
#include <vector>

#include "gdip/encoders.h"
#include "gdip/gdip_object.h"
#include "gdip/image_streams.h"
#include "gdip/memory_stream.h"
#include "runtime/value_types.h"

class GdipImage : public GdipObject<GdipImageTraits> {
public:
    GdipImage() = default;
    GdipImage(GdipImage&&) noexcept = default;
    ~GdipImage() override { Destroy(); }

    // Disposes the image and its stream.
    void Destroy();
    GdipImage Clone() const;
    void NativeChanged() override {}

    // Releases the stream, then disposes the image; false when there is none.
    bool DisposeImage();
    bool LoadImageFromFile(const Text& fileName, bool useIcm = false);
    bool LoadImageFromFile(const ByteArray& wideFileName, bool useIcm = false);
    // From the bytes of an image file (PNG, JPEG, BMP, ...).
    bool LoadImageFromStream(const ByteArray& bytes, bool useIcm = false);
    // An independent copy (GdipCloneImage).
    GdipImage CloneImage() const;

    // The parameters the encoder of `format` (GUID text) accepts.
    std::vector<EncoderParameterValue> GetEncoderParameterList(const Text& format) const;
    // Format as GUID text: empty means BMP. False without an encoder for it.
    bool SaveImageToFile(const Text& fileName, const Text& format = Text(),
                         const std::vector<EncoderParameterValue>& parameters = {});
    bool SaveImageToFile(const ByteArray& wideFileName, const Text& format = Text(),
                         const std::vector<EncoderParameterValue>& parameters = {});
    // The encoded bytes. Format empty: the image's own raw format. Empty
    // without an encoder for the format.
    ByteArray SaveImageToStream(const Text& format = Text(),
                                const std::vector<EncoderParameterValue>& parameters = {});

    int GetImageType() const;
    Gdiplus::SizeF GetImageDimension() const;
    Gdiplus::RectF GetImageBounds() const;
    int GetImageWidth() const;
    int GetImageHeight() const;
    float GetImageHorizontalResolution() const;
    float GetImageVerticalResolution() const;
    unsigned GetImageFlags() const;
    // GUID text of the file format the image came from.
    Text GetImageRawFormat() const;
    Gdiplus::PixelFormat GetImagePixelFormat() const;
    // The ColorPalette layout (flags, count, entries).
    ByteArray GetImagePalette() const;
    // Frames along a dimension given as GUID text.
    int ImageGetFrameCount(const Text& dimension) const;
    // type: Gdiplus::RotateFlipType (1 = 90 degrees clockwise ...).
    bool ImageRotateFlip(int type);
    // The bytes the image was loaded from; empty for other images.
    ByteArray GetStreamOfImage() const;
    int GetPropertyCount() const;
    // GetPropertyCount property ids (4 bytes each).
    ByteArray GetPropertyIdList() const;
    // The PropertyItem layout followed by its value.
    ByteArray GetPropertyItem(unsigned id) const;

    // The stream behind an image loaded from bytes (for tests and callers
    // that hand the bytes on); null otherwise.
    const MemoryStream* Stream() const { return stream_.get(); }

protected:
    void ShareImageFrom(const GdipImage& other);
    // Loads through `load` from a fresh stream over the bytes.
    template <typename Load>
    bool LoadFromBytes(const ByteArray& bytes, const Load& load);

    bool SaveToFileWide(const wchar_t* fileName, const Text& format,
                        const std::vector<EncoderParameterValue>& parameters);

    std::shared_ptr<MemoryStream> stream_;
};

template <typename Load>
bool GdipImage::LoadFromBytes(const ByteArray& bytes, const Load& load) {
    // The image held before (left alive) keeps its own stream in the table.
    stream_ = std::make_shared<MemoryStream>();
    IStream* stream = stream_->FromBytes(bytes);
    Gdiplus::GpImage* created = nullptr;
    Gdiplus::GpStatus status = load(stream, &created);
    KeepStreamForImage(created, stream_);
    return AdoptCreated(status, created);
}
