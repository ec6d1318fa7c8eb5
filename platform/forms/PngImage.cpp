#include "platform/forms/PngImage.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>

VXN_IMPLEMENT_CREATABLE_CLASS(TPngImage, TGraphic)

namespace {

constexpr const char* SInvalidPng = "PNG image is not valid";

struct ReadCursor {
  std::string_view Data;
  size_t At = 0;
};

cairo_status_t ReadChunk(void* closure, unsigned char* data, unsigned int length) {
  auto* c = static_cast<ReadCursor*>(closure);
  if (c->Data.size() - c->At < length) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(data, c->Data.data() + c->At, length);
  c->At += length;
  return CAIRO_STATUS_SUCCESS;
}

cairo_status_t WriteChunk(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

bool DecodePng(std::string_view Data, TAlphaImage& Out) {
  if (Data.size() < 8 || Data.substr(0, 8) != std::string_view("\x89PNG\r\n\x1a\n", 8)) return false;
  ReadCursor cursor{Data};
  cairo_surface_t* s = cairo_image_surface_create_from_png_stream(ReadChunk, &cursor);
  bool ok = cairo_surface_status(s) == CAIRO_STATUS_SUCCESS;
  if (ok) {
    cairo_surface_flush(s);
    int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    int stride = cairo_image_surface_get_stride(s);
    cairo_format_t format = cairo_image_surface_get_format(s);
    const unsigned char* bits = cairo_image_surface_get_data(s);
    Out.Width = w;
    Out.Height = h;
    Out.Pixels.assign(static_cast<size_t>(w) * h, 0);
    for (int y = 0; y < h; ++y) {
      const auto* row = reinterpret_cast<const uint32_t*>(bits + static_cast<size_t>(y) * stride);
      for (int x = 0; x < w; ++x) {
        uint32_t p = row[x];
        if (format != CAIRO_FORMAT_ARGB32) {
          p |= 0xFF000000;
        } else {
          // cairo keeps premultiplied alpha; ours is straight.
          uint32_t a = p >> 24;
          if (a == 0) {
            p = 0;
          } else if (a < 255) {
            uint32_t out = a << 24;
            for (int shift = 0; shift < 24; shift += 8)
              out |= std::min<uint32_t>(255, (((p >> shift) & 0xFF) * 255 + a / 2) / a) << shift;
            p = out;
          }
        }
        Out.Pixels[static_cast<size_t>(y) * w + x] = p;
      }
    }
  }
  cairo_surface_destroy(s);
  return ok;
}

void TPngImage::SetSize(Integer AWidth, Integer AHeight) {
  if (AWidth < 0 || AHeight < 0) throw EInvalidGraphic(SInvalidPng);
  if (AWidth == Image_.Width && AHeight == Image_.Height) return;
  std::vector<uint32_t> pixels(static_cast<size_t>(AWidth) * AHeight, 0);
  for (int y = 0; y < std::min(AHeight, Image_.Height); ++y)
    for (int x = 0; x < std::min(AWidth, Image_.Width); ++x)
      pixels[static_cast<size_t>(y) * AWidth + x] = Image_.Pixels[static_cast<size_t>(y) * Image_.Width + x];
  Image_.Width = AWidth;
  Image_.Height = AHeight;
  Image_.Pixels = std::move(pixels);
  Changed();
}

void TPngImage::LoadFromStream(TStream& Stream) {
  std::string data(static_cast<size_t>(std::max<Int64>(Stream.Size() - Stream.Position(), 0)), '\0');
  data.resize(static_cast<size_t>(Stream.Read(data.data(), static_cast<Int64>(data.size()))));
  TAlphaImage image;
  if (!DecodePng(data, image)) throw EInvalidGraphic(SInvalidPng);
  Image_ = std::move(image);
  Changed();
}

void TPngImage::SaveToStream(TStream& Stream) {
  if (Empty()) return;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Image_.Width, Image_.Height);
  unsigned char* bits = cairo_image_surface_get_data(s);
  int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < Image_.Height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(bits + static_cast<size_t>(y) * stride);
    for (int x = 0; x < Image_.Width; ++x) {
      uint32_t p = Image_.Pixels[static_cast<size_t>(y) * Image_.Width + x];
      uint32_t a = p >> 24, out = a << 24;
      for (int shift = 0; shift < 24; shift += 8) out |= ((((p >> shift) & 0xFF) * a + 127) / 255) << shift;
      row[x] = out;
    }
  }
  cairo_surface_mark_dirty(s);
  std::string data;
  cairo_status_t status = cairo_surface_write_to_png_stream(s, WriteChunk, &data);
  cairo_surface_destroy(s);
  if (status != CAIRO_STATUS_SUCCESS) throw EInvalidGraphic(cairo_status_to_string(status));
  Stream.WriteBuffer(data.data(), static_cast<Int64>(data.size()));
}

void TPngImage::Draw(TCanvas* ACanvas, const TRect& R) { Image_.DrawTo(ACanvas, R); }

void TPngImage::Assign(TPersistent* Source) {
  if (auto* p = dynamic_cast<TPngImage*>(Source)) {
    Image_ = p->Image_;
    Changed();
  } else if (auto* b = dynamic_cast<TBitmap*>(Source)) {
    Image_.FromBitmap(b);
    Changed();
  } else {
    TGraphic::Assign(Source);
  }
}

void TPngImage::AssignTo(TPersistent* Dest) {
  if (auto* b = dynamic_cast<TBitmap*>(Dest)) {
    Image_.ToBitmap(b, clWhite);
    return;
  }
  TGraphic::AssignTo(Dest);
}
