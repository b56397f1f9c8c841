#include "rendered_page.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace tlhost::pdfexport::testing {

bool RenderedPage::Render(const std::string& pdf, int page, const std::string& prefix, int dpi) {
  const std::string number = std::to_string(page + 1);
  const std::string command = std::string(PDFTOPPM_PROGRAM) + " -r " + std::to_string(dpi) +
                              " -singlefile -f " + number + " -l " + number + " '" + pdf + "' '" +
                              prefix + "'";
  if (std::system(command.c_str()) != 0) return false;
  scale_ = dpi / 72.0;
  std::ifstream in(prefix + ".ppm", std::ios::binary);
  std::string magic;
  int maximum = 0;
  in >> magic >> width_ >> height_ >> maximum;
  in.get();
  std::vector<unsigned char> bytes(static_cast<size_t>(width_) * static_cast<size_t>(height_) * 3);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  pixels_.clear();
  for (size_t i = 0; i + 2 < bytes.size(); i += 3) {
    pixels_.push_back({bytes[i], bytes[i + 1], bytes[i + 2]});
  }
  return magic == "P6" && maximum == 255 && in;
}

RenderedPage::Area RenderedPage::AreaOf(const float box[4]) const {
  const double pageHeight = height_ / scale_;
  Area a{static_cast<int>(box[0] * scale_) + 1, static_cast<int>(box[2] * scale_ + 0.999) - 1,
         static_cast<int>((pageHeight - box[3]) * scale_) + 1,
         static_cast<int>((pageHeight - box[1]) * scale_ + 0.999) - 1};
  a.x0 = std::max(a.x0, 0);
  a.y0 = std::max(a.y0, 0);
  a.x1 = std::min(a.x1, width_);
  a.y1 = std::min(a.y1, height_);
  return a;
}

const Pixel& RenderedPage::At(int x, int y) const {
  return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

int RenderedPage::CountPixels(const float box[4], const PixelTest& test) const {
  const Area a = AreaOf(box);
  int count = 0;
  for (int y = a.y0; y < a.y1; ++y) {
    for (int x = a.x0; x < a.x1; ++x) count += test(At(x, y)) ? 1 : 0;
  }
  return count;
}

std::vector<double> RenderedPage::LineRows(const float box[4], const PixelTest& test) const {
  const Area a = AreaOf(box);
  std::vector<double> rows;
  for (int y = a.y0; y < a.y1 && a.x0 < a.x1; ++y) {
    bool across = true;
    for (int x = a.x0; x < a.x1 && across; ++x) across = test(At(x, y));
    if (across) rows.push_back((height_ - y - 0.5) / scale_ - box[1]);
  }
  return rows;
}

}  // namespace tlhost::pdfexport::testing
