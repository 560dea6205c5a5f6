#include "gdip/image.h"

#include "gdip/gdip_api.h"
#include "gdip/text_convert.h"
#include "runtime/bytes.h"

using namespace Gdiplus;

void GdipImage::Destroy() {
    DisposeImage();
    stream_.reset();
}

void GdipImage::ShareImageFrom(const GdipImage& other) {
    stream_ = other.stream_;
    ShareFrom(other);
}

GdipImage GdipImage::Clone() const {
    GdipImage copy;
    copy.ShareImageFrom(*this);
    return copy;
}

bool GdipImage::DisposeImage() {
    if (IsEmpty()) return false;
    // The stream goes with the last image that reads it.
    stream_.reset();
    return DeleteWith(DisposeImageAndStream);
}

bool GdipImage::LoadImageFromFile(const Text& fileName, bool useIcm) {
    return LoadImageFromFile(ToWide(fileName), useIcm);
}

bool GdipImage::LoadImageFromFile(const ByteArray& wideFileName, bool useIcm) {
    GpImage* created = nullptr;
    const wchar_t* name = WidePointer(wideFileName);
    GpStatus status = useIcm ? pGdipLoadImageFromFileICM(name, &created) : pGdipLoadImageFromFile(name, &created);
    return AdoptCreated(status, created);
}

bool GdipImage::LoadImageFromStream(const ByteArray& bytes, bool useIcm) {
    return LoadFromBytes(bytes, [useIcm](IStream* stream, GpImage** created) {
        return useIcm ? pGdipLoadImageFromStreamICM(stream, created) : pGdipLoadImageFromStream(stream, created);
    });
}

GdipImage GdipImage::CloneImage() const {
    GdipImage copy;
    GpImage* created = nullptr;
    GpStatus status = pGdipCloneImage(Get(), &created);
    // GDI+ may go on reading the source's stream for the copy.
    if (status == Ok && created && stream_) {
        copy.stream_ = stream_;
        KeepStreamForImage(created, stream_);
    }
    copy.AdoptCreated(status, created);
    return copy;
}

std::vector<EncoderParameterValue> GdipImage::GetEncoderParameterList(const Text& format) const {
    CLSID encoder;
    if (!FindEncoderClassId(format, encoder)) return {};
    UINT size = 0;
    if (!RecordGdipStatus(pGdipGetEncoderParameterListSize(Get(), &encoder, &size)) || size == 0) return {};
    ByteArray packed = ZeroBytes(static_cast<int>(size));
    if (!RecordGdipStatus(
            pGdipGetEncoderParameterList(Get(), &encoder, size, reinterpret_cast<EncoderParameters*>(packed.data()))))
        return {};
    return UnpackEncoderParameters(packed);
}

bool GdipImage::SaveToFileWide(const wchar_t* fileName, const Text& format,
                               const std::vector<EncoderParameterValue>& parameters) {
    CLSID encoder;
    if (!FindEncoderClassId(format.empty() ? Text(kImageFormatBmp) : format, encoder)) return false;
    ByteArray packed;
    if (!PackEncoderParameters(parameters, packed)) return RecordGdipStatus(InvalidParameter);
    const auto* packedParameters = packed.empty() ? nullptr : reinterpret_cast<const EncoderParameters*>(packed.data());
    return RecordGdipStatus(pGdipSaveImageToFile(Get(), fileName, &encoder, packedParameters));
}

bool GdipImage::SaveImageToFile(const Text& fileName, const Text& format,
                                const std::vector<EncoderParameterValue>& parameters) {
    ByteArray wide = ToWide(fileName);
    return SaveToFileWide(WidePointer(wide), format, parameters);
}

bool GdipImage::SaveImageToFile(const ByteArray& wideFileName, const Text& format,
                                const std::vector<EncoderParameterValue>& parameters) {
    return SaveToFileWide(WidePointer(wideFileName), format, parameters);
}

ByteArray GdipImage::SaveImageToStream(const Text& format, const std::vector<EncoderParameterValue>& parameters) {
    CLSID encoder;
    if (!FindEncoderClassId(format.empty() ? GetImageRawFormat() : format, encoder)) return ByteArray();
    ByteArray packed;
    if (!PackEncoderParameters(parameters, packed)) {
        RecordGdipStatus(InvalidParameter);
        return ByteArray();
    }
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(nullptr, FALSE, &stream))) return ByteArray();
    MemoryStream output;
    if (!output.Attach(stream)) return ByteArray();
    const auto* packedParameters = packed.empty() ? nullptr : reinterpret_cast<const EncoderParameters*>(packed.data());
    if (!RecordGdipStatus(pGdipSaveImageToStream(Get(), output.GetStream(), &encoder, packedParameters)))
        return ByteArray();
    return output.ReadAll();
}

int GdipImage::GetImageType() const {
    ImageType type = ImageTypeUnknown;
    RecordGdipStatus(pGdipGetImageType(Get(), &type));
    return static_cast<int>(type);
}

SizeF GdipImage::GetImageDimension() const {
    REAL width = 0;
    REAL height = 0;
    RecordGdipStatus(pGdipGetImageDimension(Get(), &width, &height));
    return SizeF(width, height);
}

RectF GdipImage::GetImageBounds() const {
    RectF bounds;
    Unit unit = UnitPixel;
    RecordGdipStatus(pGdipGetImageBounds(Get(), &bounds, &unit));
    return bounds;
}

int GdipImage::GetImageWidth() const {
    UINT width = 0;
    RecordGdipStatus(pGdipGetImageWidth(Get(), &width));
    return static_cast<int>(width);
}

int GdipImage::GetImageHeight() const {
    UINT height = 0;
    RecordGdipStatus(pGdipGetImageHeight(Get(), &height));
    return static_cast<int>(height);
}

float GdipImage::GetImageHorizontalResolution() const {
    REAL resolution = 0;
    RecordGdipStatus(pGdipGetImageHorizontalResolution(Get(), &resolution));
    return resolution;
}

float GdipImage::GetImageVerticalResolution() const {
    REAL resolution = 0;
    RecordGdipStatus(pGdipGetImageVerticalResolution(Get(), &resolution));
    return resolution;
}

unsigned GdipImage::GetImageFlags() const {
    UINT flags = 0;
    RecordGdipStatus(pGdipGetImageFlags(Get(), &flags));
    return flags;
}

Text GdipImage::GetImageRawFormat() const {
    GUID format{};
    if (!RecordGdipStatus(pGdipGetImageRawFormat(Get(), &format))) return Text();
    return GuidToText(format);
}

PixelFormat GdipImage::GetImagePixelFormat() const {
    PixelFormat format = 0;
    RecordGdipStatus(pGdipGetImagePixelFormat(Get(), &format));
    return format;
}

ByteArray GdipImage::GetImagePalette() const {
    INT size = 0;
    if (!RecordGdipStatus(pGdipGetImagePaletteSize(Get(), &size)) || size <= 0) return ByteArray();
    ByteArray palette = ZeroBytes(size);
    RecordGdipStatus(pGdipGetImagePalette(Get(), reinterpret_cast<ColorPalette*>(palette.data()), size));
    return palette;
}

int GdipImage::ImageGetFrameCount(const Text& dimension) const {
    GUID dimensionId{};
    if (!TextToGuid(dimension, dimensionId)) return 0;
    UINT count = 0;
    RecordGdipStatus(pGdipImageGetFrameCount(Get(), &dimensionId, &count));
    return static_cast<int>(count);
}

bool GdipImage::ImageRotateFlip(int type) {
    return RecordGdipStatus(pGdipImageRotateFlip(Get(), static_cast<RotateFlipType>(type)));
}

ByteArray GdipImage::GetStreamOfImage() const {
    if (!stream_ || !stream_->GetBlock()) return ByteArray();
    HGLOBAL block = stream_->GetBlock();
    std::size_t size = ::GlobalSize(block);
    const void* locked = ::GlobalLock(block);
    if (!locked) return ByteArray();
    ByteArray bytes = ZeroBytes(static_cast<int>(size));
    ::RtlMoveMemory(bytes.data(), locked, size);
    ::GlobalUnlock(block);
    return bytes;
}

int GdipImage::GetPropertyCount() const {
    UINT count = 0;
    RecordGdipStatus(pGdipGetPropertyCount(Get(), &count));
    return static_cast<int>(count);
}

ByteArray GdipImage::GetPropertyIdList() const {
    int count = GetPropertyCount();
    if (count <= 0) return ByteArray();
    ByteArray ids = ZeroBytes(count * static_cast<int>(sizeof(PROPID)));
    RecordGdipStatus(pGdipGetPropertyIdList(Get(), count, reinterpret_cast<PROPID*>(ids.data())));
    return ids;
}

ByteArray GdipImage::GetPropertyItem(unsigned id) const {
    UINT size = 0;
    if (!RecordGdipStatus(pGdipGetPropertyItemSize(Get(), id, &size)) || size == 0) return ByteArray();
    ByteArray item = ZeroBytes(static_cast<int>(size));
    RecordGdipStatus(pGdipGetPropertyItem(Get(), id, size, reinterpret_cast<PropertyItem*>(item.data())));
    return item;
}
