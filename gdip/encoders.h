// Image encoders by format id, and the packed encoder-parameter layout.
#pragma once

#include <cstdint>
#include <vector>

#include "gdip/gdip_types.h"
#include "runtime/value_types.h"

// GDI+ image format ids as GUID text.
inline constexpr char kImageFormatBmp[] = "{B96B3CAB-0728-11D3-9D7B-0000F81EF32E}";
inline constexpr char kImageFormatJpeg[] = "{B96B3CAE-0728-11D3-9D7B-0000F81EF32E}";
inline constexpr char kImageFormatPng[] = "{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}";

// One installed encoder, in the order GDI+ lists them.
struct ImageEncoderRecord {
    Text classId;   // GUID text in braces
    Text formatId;  // GUID text in braces
    Text codecName;
    Text libraryName;
    Text formatDescription;
    Text fileExtensions;
    Text mimeType;
    std::uint32_t flags = 0;
    std::uint32_t version = 0;
    std::uint32_t signatureCount = 0;
    std::uint32_t signatureSize = 0;
    ByteArray signaturePattern;
    ByteArray signatureMask;
};

std::vector<ImageEncoderRecord> GetImageEncoderList();
// The class id of the first encoder whose format-id text equals `format`
// byte for byte; false when none does.
bool FindEncoderClassId(const Text& format, CLSID& classId);

// GUID <-> text in braces.
Text GuidToText(const GUID& guid);
bool TextToGuid(const Text& text, GUID& guid);

// One encoder parameter: its category GUID as text, the GDI+ value type
// (1 byte … 8 rational range) and its values as bytes.
struct EncoderParameterValue {
    Text guid;
    std::uint32_t count = 0;
    std::uint32_t type = 0;
    ByteArray value;
};

// Size in bytes of one value of an encoder-parameter type; 0 when unknown.
int EncoderValueTypeSize(std::uint32_t type);

// Whether a parameter's bytes cover its count of values of its type (GDI+
// reads exactly that many) and its GUID text is a GUID.
bool IsWellFormedEncoderParameter(const EncoderParameterValue& parameter);
// The EncoderParameters layout of a list (empty list: empty array) into
// `packed`; false, with `packed` empty, when a parameter is not well formed.
// The packed array points into the values of `parameters`, which must
// outlive it.
bool PackEncoderParameters(const std::vector<EncoderParameterValue>& parameters, ByteArray& packed);
// Reads an EncoderParameters layout back, copying each parameter's values.
std::vector<EncoderParameterValue> UnpackEncoderParameters(const ByteArray& packed);
