#include "app/GedcomDocument.h"

#include <cstring>
#include <exception>
#include <utility>

#include "app/FileProblem.h"
#include "app/RunChecks.h"
#include "app/tResStr.h"
#include "core/Document.h"
#include "core/FileName.h"

namespace halvern {

namespace {

LoadFailure NoText() { return LoadFailure{false, std::string(rsVerkeerdFormaat.text)}; }

}  // namespace

template <typename Reader>
bool GedcomDocument::LoadWith(const Reader& read) {
    Clear();
    TextEncoding encoding = TextEncoding::kEightBit;
    try {
        if (read(bytes_, encoding)) {
            Settle(encoding);
            return true;
        }
    } catch (const std::exception&) {  // memory exhausted: a UTF-16 file's working text did not fit
    }
    Clear();
    return false;
}

std::optional<LoadFailure> GedcomDocument::Load(const std::string& name, const FileProbe& probe) {
    Clear();
    std::optional<FileProblem> problem = probe.ProblemWith(name);
    int openError = 0;
    const auto read = [&](DocumentBuffer& bytes, TextEncoding& encoding) {
        return LoadDocument(FilePath(name), bytes, encoding, &openError);
    };
    if (!problem && LoadWith(read)) return std::nullopt;
    if (openError != 0) problem = FileProblemFromErrno(openError);
    if (problem) return LoadFailure{true, CannotOpenText(name, *problem)};
    return NoText();
}

std::optional<LoadFailure> GedcomDocument::Load(std::FILE* stream) {
    if (LoadWith([stream](DocumentBuffer& bytes, TextEncoding& encoding) { return LoadDocument(stream, bytes, encoding); })) {
        return std::nullopt;
    }
    return NoText();
}

char* GedcomDocument::PrepareLoad(std::size_t size) {
    Clear();
    bytes_.Reserve(size);
    bytes_.Extend(size);
    return bytes_.End() - size;
}

bool GedcomDocument::FinishLoad() {
    const std::string_view bytes = bytes_.Text();
    const std::optional<TextEncoding> found =
        TextEncodingOf(bytes, !bytes.empty() && std::memchr(bytes.data(), 0, bytes.size()) != nullptr);
    if (!found) {
        Clear();
        return false;
    }
    Settle(*found);
    return true;
}

void GedcomDocument::Settle(TextEncoding encoding) {
    if (encoding != TextEncoding::kEightBit) {
        text_ = ToWorkingText(bytes_.Text(), encoding);
        bytes_ = DocumentBuffer();
    }
    encoding_ = encoding;
    loaded_ = true;
}

void GedcomDocument::Replace(std::string text) {
    text_ = std::move(text);
    bytes_ = DocumentBuffer();
}

void GedcomDocument::Release() {
    bytes_ = DocumentBuffer();
    std::string().swap(text_);
}

void GedcomDocument::Clear() {
    Release();
    encoding_ = TextEncoding::kEightBit;
    loaded_ = false;
}

std::string_view GedcomDocument::FileBytes(std::string& storage) const {
    if (encoding_ == TextEncoding::kEightBit) return Text();
    storage = FromWorkingText(text_, encoding_);
    return storage;
}

}  // namespace halvern
