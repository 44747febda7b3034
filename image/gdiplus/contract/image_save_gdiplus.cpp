#include "image/gdiplus/contract/encoders_win32.h"
#include "image/gdiplus/gdiplus_buffers_win32.h"
#include "image/gdiplus/image_file_backend.h"

namespace imaging {

using gdiplus::EncoderParameterBlock;

namespace {

// The encoder for a format text; with no encoder for it the status says so,
// and the save never reaches GDI+ (which would create the file first).
std::optional<CLSID> encoder_for(const std::string& format, int& status) {
    auto clsid = find_encoder(format, status);
    if (!clsid && status == image_status::Ok) status = image_status::UnknownImageFormat;
    return clsid;
}

// The caller's parameters in GDI+ form (nothing to build without them);
// false, with the status set, when they are malformed.
bool parameter_block(const EncoderParameterList* parameters, std::optional<EncoderParameterBlock>& block, int& status) {
    if (!parameters) return true;
    block = EncoderParameterBlock::build(*parameters);
    if (!block) status = image_status::InvalidParameter;
    return block.has_value();
}

const gdiplus::EncoderParameters* block_or_null(const std::optional<EncoderParameterBlock>& block) {
    return block ? block->get() : nullptr;
}

}  // namespace

bool ImageFile::SaveToFile(const std::string& fileName, const std::string& format,
                           const EncoderParameterList* parameters) {
    std::optional<EncoderParameterBlock> block;
    if (!parameter_block(parameters, block, lastStatus_)) return false;
    auto clsid = encoder_for(format.empty() ? GetRawFormat() : format, lastStatus_);
    if (!clsid) return false;
    auto name = gdiplus::file_name_for_library(fileName);
    if (!name) {
        lastStatus_ = image_status::InvalidParameter;
        return false;
    }
    lastStatus_ =
        gdiplus::api().GdipSaveImageToFile(backend_->library_image(), name->c_str(), &*clsid, block_or_null(block));
    return lastStatus_ == image_status::Ok;
}

std::vector<std::uint8_t> ImageFile::SaveToBytes(const std::string& format, const EncoderParameterList* parameters) {
    std::optional<EncoderParameterBlock> block;
    if (!parameter_block(parameters, block, lastStatus_)) return {};
    auto clsid = encoder_for(format.empty() ? GetRawFormat() : format, lastStatus_);
    if (!clsid) return {};
    MemoryStream output;
    IStream* stream = output.CreateFromBytes({});
    if (!stream) {
        lastStatus_ = image_status::OutOfMemory;
        return {};
    }
    lastStatus_ =
        gdiplus::api().GdipSaveImageToStream(backend_->library_image(), stream, &*clsid, block_or_null(block));
    // A failed save may have written part of an image: hand back none of it.
    if (lastStatus_ != image_status::Ok) return {};
    return output.ReadAll();
}

bool ImageFile::SaveAdd(const EncoderParameterList& parameters) {
    std::optional<EncoderParameterBlock> block;
    if (!parameter_block(&parameters, block, lastStatus_)) return false;
    lastStatus_ = gdiplus::api().GdipSaveAdd(backend_->library_image(), block->get());
    return lastStatus_ == image_status::Ok;
}

bool ImageFile::SaveAddImage(ImageFile& other, const EncoderParameterList& parameters) {
    std::optional<EncoderParameterBlock> block;
    if (!parameter_block(&parameters, block, lastStatus_)) return false;
    lastStatus_ =
        gdiplus::api().GdipSaveAddImage(backend_->library_image(), other.backend_->library_image(), block->get());
    return lastStatus_ == image_status::Ok;
}

bool ImageFile::GetEncoderParameterList(const std::string& format, EncoderParameterList& list) {
    auto clsid = encoder_for(format, lastStatus_);
    if (!clsid) return false;
    const gdiplus::Api& api = gdiplus::api();
    UINT size = 0;
    lastStatus_ = api.GdipGetEncoderParameterListSize(backend_->library_image(), &*clsid, &size);
    if (lastStatus_ != image_status::Ok) return false;
    auto buffer = gdiplus::zeroed_buffer(size);
    if (!buffer) {
        lastStatus_ = image_status::OutOfMemory;
        return false;
    }
    lastStatus_ = api.GdipGetEncoderParameterList(backend_->library_image(), &*clsid, size,
                                                  reinterpret_cast<gdiplus::EncoderParameters*>(buffer->data()));
    if (lastStatus_ != image_status::Ok) return false;
    auto read = gdiplus::read_encoder_parameters(*buffer);
    if (!read) {
        lastStatus_ = image_status::ValueOverflow;
        return false;
    }
    list = std::move(*read);
    return true;
}

}  // namespace imaging
