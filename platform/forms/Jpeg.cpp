#include "platform/forms/Jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <jpeglib.h>

VXN_IMPLEMENT_CREATABLE_CLASS(TJPEGImage, TGraphic)

namespace {

// libjpeg reports fatal errors through error_exit, which must not return:
// it jumps back to the call that started the work, which then raises.
struct JpegError {
  jpeg_error_mgr Manager;
  jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr info) {
  auto* e = reinterpret_cast<JpegError*>(info->err);
  (*info->err->format_message)(info, e->Message);
  std::longjmp(e->Jump, 1);
}

void NoOutput(j_common_ptr) {}

// Decodes into rows of 0x00RRGGBB; false with a message on failure. Kept
// free of objects with destructors between setjmp and the jumps.
bool DecodeJpeg(const std::string& data, std::vector<uint32_t>& pixels, int& width, int& height, bool& gray,
                std::string& message) {
  jpeg_decompress_struct info;
  JpegError error;
  info.err = jpeg_std_error(&error.Manager);
  error.Manager.error_exit = ErrorExit;
  error.Manager.output_message = NoOutput;
  std::vector<unsigned char> row;
  if (setjmp(error.Jump)) {
    jpeg_destroy_decompress(&info);
    message = error.Message;
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<unsigned char*>(const_cast<char*>(data.data())),
               static_cast<unsigned long>(data.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = info.jpeg_color_space == JCS_GRAYSCALE ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_start_decompress(&info);
  width = static_cast<int>(info.output_width);
  height = static_cast<int>(info.output_height);
  gray = info.out_color_space == JCS_GRAYSCALE;
  if (int64_t{width} * height > (int64_t{1} << 28)) {
    jpeg_destroy_decompress(&info);
    message = "picture too large";
    return false;
  }
  int components = info.output_components;
  pixels.assign(static_cast<size_t>(width) * height, 0);
  row.resize(static_cast<size_t>(width) * components);
  while (info.output_scanline < info.output_height) {
    JSAMPROW rows[1] = {row.data()};
    int y = static_cast<int>(info.output_scanline);
    jpeg_read_scanlines(&info, rows, 1);
    uint32_t* out = &pixels[static_cast<size_t>(y) * width];
    for (int x = 0; x < width; ++x) {
      const unsigned char* p = &row[static_cast<size_t>(x) * components];
      out[x] = components == 1 ? (p[0] << 16) | (p[0] << 8) | p[0] : (p[0] << 16) | (p[1] << 8) | p[2];
    }
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

bool EncodeJpeg(TBitmap* bitmap, int quality, bool gray, bool progressive, std::string& out, std::string& message) {
  jpeg_compress_struct info;
  JpegError error;
  info.err = jpeg_std_error(&error.Manager);
  error.Manager.error_exit = ErrorExit;
  error.Manager.output_message = NoOutput;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  std::vector<unsigned char> row;
  if (setjmp(error.Jump)) {
    jpeg_destroy_compress(&info);
    free(buffer);
    message = error.Message;
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(bitmap->Width());
  info.image_height = static_cast<JDIMENSION>(bitmap->Height());
  info.input_components = gray ? 1 : 3;
  info.in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  row.resize(static_cast<size_t>(bitmap->Width()) * info.input_components);
  while (info.next_scanline < info.image_height) {
    const uint32_t* in = bitmap->ScanLine(static_cast<Integer>(info.next_scanline));
    for (int x = 0; x < bitmap->Width(); ++x) {
      uint32_t p = in[x];
      unsigned r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
      if (gray) {
        row[x] = static_cast<unsigned char>((r * 299 + g * 587 + b * 114 + 500) / 1000);
      } else {
        row[3 * x] = static_cast<unsigned char>(r);
        row[3 * x + 1] = static_cast<unsigned char>(g);
        row[3 * x + 2] = static_cast<unsigned char>(b);
      }
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  out.assign(reinterpret_cast<char*>(buffer), size);
  free(buffer);
  return true;
}

}  // namespace

TJPEGImage::TJPEGImage() : Bitmap_(std::make_unique<TBitmap>()) {
  Bitmap_->OnChange = TNotifyEvent(this, &TJPEGImage::BitmapChanged);
}

TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::BitmapChanged(TObject*) {
  Data_.clear();
  Changed();
}

void TJPEGImage::SetWidth(Integer Value) { Bitmap_->SetWidth(Value); }
void TJPEGImage::SetHeight(Integer Value) { Bitmap_->SetHeight(Value); }

void TJPEGImage::SetCompressionQuality(Integer Value) {
  Value = std::clamp<Integer>(Value, 1, 100);
  if (Value == CompressionQuality_) return;
  CompressionQuality_ = Value;
  Data_.clear();
}

void TJPEGImage::SetGrayscale(bool Value) {
  if (Value == Grayscale_) return;
  Grayscale_ = Value;
  Data_.clear();
}

void TJPEGImage::Compress() {
  if (Bitmap_->Empty()) {
    Data_.clear();
    return;
  }
  if (Bitmap_->Monochrome()) Bitmap_->SetMonochrome(false);
  std::string message;
  if (!EncodeJpeg(Bitmap_.get(), CompressionQuality_, Grayscale_, ProgressiveEncoding, Data_, message))
    throw EInvalidGraphic("JPEG error: " + message);
}

void TJPEGImage::LoadFromStream(TStream& Stream) {
  std::string data(static_cast<size_t>(std::max<Int64>(Stream.Size() - Stream.Position(), 0)), '\0');
  data.resize(static_cast<size_t>(Stream.Read(data.data(), static_cast<Int64>(data.size()))));
  std::vector<uint32_t> pixels;
  int width = 0, height = 0;
  bool gray = false;
  std::string message;
  if (!DecodeJpeg(data, pixels, width, height, gray, message)) throw EInvalidGraphic("JPEG error: " + message);
  Bitmap_->OnChange = nullptr;
  Bitmap_->SetMonochrome(false);
  Bitmap_->SetSize(width, height);
  Bitmap_->SetPixelFormat(pf24bit);
  for (int y = 0; y < height; ++y)
    std::memcpy(Bitmap_->ScanLine(y), &pixels[static_cast<size_t>(y) * width], sizeof(uint32_t) * width);
  Bitmap_->OnChange = TNotifyEvent(this, &TJPEGImage::BitmapChanged);
  Grayscale_ = gray;
  Data_ = std::move(data);
  Changed();
}

void TJPEGImage::SaveToStream(TStream& Stream) {
  JPEGNeeded();
  if (!Data_.empty()) Stream.WriteBuffer(Data_.data(), static_cast<Int64>(Data_.size()));
}

void TJPEGImage::Draw(TCanvas* ACanvas, const TRect& R) { Bitmap_->Draw(ACanvas, R); }

void TJPEGImage::Assign(TPersistent* Source) {
  if (auto* j = dynamic_cast<TJPEGImage*>(Source)) {
    Bitmap_->Assign(j->Bitmap_.get());
    Data_ = j->Data_;
    CompressionQuality_ = j->CompressionQuality_;
    Grayscale_ = j->Grayscale_;
    Changed();
  } else if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    Bitmap_->Assign(g);  // clears the encoded data through BitmapChanged
  } else {
    TGraphic::Assign(Source);
  }
}
