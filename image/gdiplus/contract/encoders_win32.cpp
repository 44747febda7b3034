#include "image/gdiplus/contract/encoders_win32.h"

#include "image/gdiplus/gdiplus_api.h"
#include "image/gdiplus/gdiplus_buffers_win32.h"
#include "image/image_file.h"

namespace imaging {

std::int32_t GetEncoders(std::vector<CodecInfo>& codecs, int& lastStatus) {
    const gdiplus::Api& api = gdiplus::api();
    UINT count = 0;
    UINT size = 0;
    lastStatus = api.GdipGetImageEncodersSize(&count, &size);
    if (lastStatus != image_status::Ok) return 0;
    auto block = gdiplus::zeroed_buffer(size);
    if (!block) {
        lastStatus = image_status::OutOfMemory;
        return 0;
    }
    lastStatus = api.GdipGetImageEncoders(count, size, reinterpret_cast<gdiplus::ImageCodecInfo*>(block->data()));
    if (lastStatus != image_status::Ok) return 0;
    auto read = gdiplus::read_codecs(*block, count);
    if (!read) {
        lastStatus = image_status::ValueOverflow;
        return 0;
    }
    codecs = std::move(*read);
    return static_cast<std::int32_t>(codecs.size());
}

std::string FindEncoderClsid(const std::string& format, int& lastStatus) {
    std::vector<CodecInfo> codecs;
    GetEncoders(codecs, lastStatus);
    for (const CodecInfo& codec : codecs) {
        if (codec.formatId == format) return codec.clsid;
    }
    return {};
}

std::optional<CLSID> find_encoder(const std::string& format, int& lastStatus) {
    std::string clsid = FindEncoderClsid(format, lastStatus);
    if (clsid.empty()) return std::nullopt;
    return text_to_guid(clsid);
}

}  // namespace imaging
