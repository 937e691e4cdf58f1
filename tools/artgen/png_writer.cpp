#include "tools/artgen/png_writer.h"

#include <zlib.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace vexmor::artgen {
namespace {

using Bytes = std::vector<std::uint8_t>;

void AppendBigEndian32(Bytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void AppendChunk(Bytes& out, const char (&type)[5], const Bytes& data) {
  AppendBigEndian32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t typeStart = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  const auto crc = crc32(0, out.data() + typeStart, static_cast<uInt>(out.size() - typeStart));
  AppendBigEndian32(out, static_cast<std::uint32_t>(crc));
}

// Straight (not premultiplied) RGBA rows, as PNG stores them.
std::vector<Bytes> StraightRows(const Image& image) {
  std::vector<Bytes> rows(image.height(), Bytes(std::size_t(image.width()) * 4));
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const Pixel p = image.At(x, y);
      std::uint8_t* out = &rows[y][std::size_t(x) * 4];
      out[0] = p.r;
      out[1] = p.g;
      out[2] = p.b;
      out[3] = p.a;
    }
  }
  return rows;
}

int Paeth(int a, int b, int c) {
  const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

// Each row takes the filter whose output has the smallest sum of absolute values, the usual
// heuristic for small files; the choice depends only on the pixels, so output is reproducible.
Bytes FilteredScanlines(const std::vector<Bytes>& rows) {
  constexpr int kBpp = 4;
  Bytes out;
  const Bytes zero(rows.empty() ? 0 : rows[0].size(), 0);
  Bytes candidate;
  for (std::size_t y = 0; y < rows.size(); ++y) {
    const Bytes& row = rows[y];
    const Bytes& up = y == 0 ? zero : rows[y - 1];
    Bytes best;
    long bestScore = -1;
    for (int filter = 0; filter <= 4; ++filter) {
      candidate.assign(1, static_cast<std::uint8_t>(filter));
      long score = 0;
      for (std::size_t i = 0; i < row.size(); ++i) {
        const int a = i >= kBpp ? row[i - kBpp] : 0, b = up[i], c = i >= kBpp ? up[i - kBpp] : 0;
        int predicted = 0;
        switch (filter) {
          case 1: predicted = a; break;
          case 2: predicted = b; break;
          case 3: predicted = (a + b) / 2; break;
          case 4: predicted = Paeth(a, b, c); break;
        }
        const auto value = static_cast<std::uint8_t>(row[i] - predicted);
        candidate.push_back(value);
        score += value < 128 ? value : 256 - value;
      }
      if (bestScore < 0 || score < bestScore) {
        bestScore = score;
        best.swap(candidate);
      }
    }
    out.insert(out.end(), best.begin(), best.end());
  }
  return out;
}

Bytes Deflate(const Bytes& raw) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  Bytes out(size);
  if (compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK) {
    throw std::runtime_error("cannot compress image data");
  }
  out.resize(size);
  return out;
}

}  // namespace

void WritePng(const Image& image, const std::filesystem::path& file) {
  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  AppendBigEndian32(header, static_cast<std::uint32_t>(image.width()));
  AppendBigEndian32(header, static_cast<std::uint32_t>(image.height()));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8-bit, RGBA, deflate, adaptive filters, no interlace
  AppendChunk(png, "IHDR", header);
  AppendChunk(png, "IDAT", Deflate(FilteredScanlines(StraightRows(image))));
  AppendChunk(png, "IEND", {});

  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  if (!out.flush()) throw std::runtime_error("cannot write " + file.string());
}

}  // namespace vexmor::artgen
