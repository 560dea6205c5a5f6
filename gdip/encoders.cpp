#include "gdip/encoders.h"

#include <cstddef>
#include <cstring>

#include "gdip/gdip_api.h"
#include "gdip/gdip_object.h"
#include "gdip/text_convert.h"
#include "runtime/bytes.h"

Text GuidToText(const GUID& guid) {
    wchar_t buffer[64] = {};
    if (::StringFromGUID2(guid, buffer, 64) == 0) return Text();
    return FromWide(buffer);
}

bool TextToGuid(const Text& text, GUID& guid) {
    ByteArray wide = ToWide(text);
    if (wide.empty()) return false;
    return SUCCEEDED(::CLSIDFromString(reinterpret_cast<LPCOLESTR>(wide.data()), &guid));
}

std::vector<ImageEncoderRecord> GetImageEncoderList() {
    std::vector<ImageEncoderRecord> list;
    UINT count = 0;
    UINT size = 0;
    if (!RecordGdipStatus(pGdipGetImageEncodersSize(&count, &size)) || count == 0 || size == 0) return list;
    ByteArray buffer = ZeroBytes(static_cast<int>(size));
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (!RecordGdipStatus(pGdipGetImageEncoders(count, size, codecs))) return list;
    for (UINT i = 0; i < count; ++i) {
        const Gdiplus::ImageCodecInfo& codec = codecs[i];
        ImageEncoderRecord record;
        record.classId = GuidToText(codec.Clsid);
        record.formatId = GuidToText(codec.FormatID);
        record.codecName = FromWide(codec.CodecName);
        record.libraryName = FromWide(codec.DllName);
        record.formatDescription = FromWide(codec.FormatDescription);
        record.fileExtensions = FromWide(codec.FilenameExtension);
        record.mimeType = FromWide(codec.MimeType);
        record.flags = codec.Flags;
        record.version = codec.Version;
        record.signatureCount = codec.SigCount;
        record.signatureSize = codec.SigSize;
        int signatureBytes = static_cast<int>(codec.SigCount * codec.SigSize);
        record.signaturePattern = BytesAtAddress(codec.SigPattern, signatureBytes);
        record.signatureMask = BytesAtAddress(codec.SigMask, signatureBytes);
        list.push_back(std::move(record));
    }
    return list;
}

bool FindEncoderClassId(const Text& format, CLSID& classId) {
    for (const ImageEncoderRecord& record : GetImageEncoderList()) {
        if (record.formatId == format) return TextToGuid(record.classId, classId);
    }
    return false;
}

int EncoderValueTypeSize(std::uint32_t type) {
    switch (type) {
        case 1: case 2: case 7: return 1;  // byte, ASCII, undefined
        case 3: return 2;                  // short
        case 4: return 4;                  // long
        case 5: case 6: return 8;          // rational, long range
        case 8: return 16;                 // rational range
        default: return 0;
    }
}

// The layout is GDI+'s own structure (count, then per parameter the GUID,
// value count, type and value pointer), so it is pointer-sized on 64 bits.
bool IsWellFormedEncoderParameter(const EncoderParameterValue& parameter) {
    GUID guid;
    if (!TextToGuid(parameter.guid, guid)) return false;
    const std::uint64_t needed =
        std::uint64_t{parameter.count} * static_cast<std::uint64_t>(EncoderValueTypeSize(parameter.type));
    if (parameter.count > 0 && needed == 0) return false;  // a type of unknown size
    return parameter.value.size() >= needed;
}

bool PackEncoderParameters(const std::vector<EncoderParameterValue>& parameters, ByteArray& packed) {
    packed.clear();
    for (const EncoderParameterValue& parameter : parameters) {
        if (!IsWellFormedEncoderParameter(parameter)) return false;
    }
    if (parameters.empty()) return true;
    constexpr std::size_t kFirst = offsetof(Gdiplus::EncoderParameters, Parameter);
    packed = ZeroBytes(static_cast<int>(kFirst + sizeof(Gdiplus::EncoderParameter) * parameters.size()));
    auto* header = reinterpret_cast<Gdiplus::EncoderParameters*>(packed.data());
    header->Count = static_cast<UINT>(parameters.size());
    auto* entries = reinterpret_cast<Gdiplus::EncoderParameter*>(packed.data() + kFirst);
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        const EncoderParameterValue& parameter = parameters[i];
        TextToGuid(parameter.guid, entries[i].Guid);
        entries[i].NumberOfValues = parameter.count;
        entries[i].Type = parameter.type;
        entries[i].Value = parameter.value.empty() ? nullptr : const_cast<std::uint8_t*>(parameter.value.data());
    }
    return true;
}

std::vector<EncoderParameterValue> UnpackEncoderParameters(const ByteArray& packed) {
    std::vector<EncoderParameterValue> parameters;
    constexpr std::size_t kFirst = offsetof(Gdiplus::EncoderParameters, Parameter);
    if (packed.size() < kFirst) return parameters;
    std::uint32_t count = 0;
    std::memcpy(&count, packed.data(), sizeof count);
    for (std::uint32_t n = 0; n < count; ++n) {
        std::size_t offset = kFirst + sizeof(Gdiplus::EncoderParameter) * n;
        if (offset + sizeof(Gdiplus::EncoderParameter) > packed.size()) break;
        Gdiplus::EncoderParameter entry;
        std::memcpy(&entry, packed.data() + offset, sizeof entry);
        EncoderParameterValue parameter;
        parameter.guid = GuidToText(entry.Guid);
        parameter.count = entry.NumberOfValues;
        parameter.type = entry.Type;
        parameter.value = BytesAtAddress(entry.Value, static_cast<int>(entry.NumberOfValues * EncoderValueTypeSize(entry.Type)));
        parameters.push_back(std::move(parameter));
    }
    return parameters;
}
