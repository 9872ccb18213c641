#pragma once

#include "core/base/Bytes.h"
#include "core/session/QuestionRecord.h"
#include "core/storage/Bitmap.h"
#include "core/storage/UPak.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

class TpkXML;

// Encoded fields of question and list documents: base64 of UTF-16LE.
// Each group of four characters decodes by itself, so a padded group in the
// middle does not end the decoding; characters after the last whole group are ignored.
// Raises StorageError on a character outside the alphabet and "=".
Bytes DecodeBase64(std::string_view text);
std::u16string DecodeBase64Utf16(std::u16string_view text);

std::string EncodeBase64(ByteView bytes);
std::u16string EncodeBase64Utf16(std::u16string_view text);

// Leading blanks, an optional sign, then decimal digits, or hexadecimal ones after
// "$" or "0x"; anything else, an empty text or a value outside 32 bits fails.
bool ParseInteger(std::string_view text, std::int32_t& value);

// Field reader error codes.
inline constexpr int kFieldRead = 0;
inline constexpr int kFieldLookupFailed = 1;
inline constexpr int kFieldNotDecoded = 2;
inline constexpr int kFieldNotInteger = 3;

// The text of element `child` inside the top-level element `element`, decoded when
// asked, in Windows-1250. A missing element reads as empty text and is no error.
std::string ReadFieldText(bool decode, std::u16string_view element, std::u16string_view child, int& error,
                          TpkXML& document);
// An element's text as ReadFieldText gives it; a text that can't be decoded sets the error and reads empty.
std::string DecodeFieldText(bool decode, const std::u16string& text, int& error);
// The same parsed as an integer; 0 on any error. Text that can't be decoded is parsed as it stands.
std::int32_t ReadFieldInt(bool decode, std::u16string_view element, std::u16string_view child, int& error,
                          TpkXML& document);

// The question on screen, its picture and its attached text, filled by OpenQuestionFile.
extern QuestionRecord CurrentQuestion;
extern Bitmap PictureBitmap;
extern TextLines AttachedTextLines;

// Loads a question file into CurrentQuestion with its answers in drawn order.
// False after any failure, which has then been written to the journal and, for a
// damaged question, shown in the message box.
bool OpenQuestionFile(const std::filesystem::path& path);

// Layout readers: 0 loaded, 1 damaged question. A missing document raises StorageError.
inline constexpr int kQuestionLoaded = 0;
inline constexpr int kQuestionDamaged = 1;
int LoadQuestion40(const TVfsPAK& pak);
int LoadQuestion35(const TVfsPAK& pak);
