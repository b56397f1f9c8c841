#include "host/export/pdf_finisher.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "host/engine/file_access.h"
#include "tolvane/numbers.h"

namespace tlhost::pdfexport {
namespace {

using Handle = QPDFObjectHandle;

std::vector<Handle> Items(Handle object) {
  std::vector<Handle> out;
  if (object.isArray()) {
    for (int i = 0; i < object.getArrayNItems(); ++i) out.push_back(object.getArrayItem(i));
  } else if (!object.isNull()) {
    out.push_back(object);
  }
  return out;
}

// Makes text shown in kStandInColour invisible (render mode 3), which keeps its characters and
// their boxes: cairo has no render modes, so the page layout marks its stand-in glyphs with that
// fill colour instead. Cairo itself never sets a render mode, so the mode is 0 elsewhere.
class StandInFilter : public QPDFObjectHandle::TokenFilter {
 public:
  void handleToken(QPDFTokenizer::Token const& token) override {
    writeToken(token);
    switch (token.getType()) {
      case QPDFTokenizer::tt_integer:
      case QPDFTokenizer::tt_real:
        operands_.push_back(std::strtod(token.getValue().c_str(), nullptr));
        return;
      case QPDFTokenizer::tt_space:
      case QPDFTokenizer::tt_comment:
        return;
      case QPDFTokenizer::tt_word:
        Operator(token.getValue());
        break;
      default:
        break;
    }
    operands_.clear();
  }

 private:
  void Operator(const std::string& op) {
    if (op == "q") {
      saved_.push_back(invisible_);
    } else if (op == "Q" && !saved_.empty()) {
      invisible_ = saved_.back();  // Q restores the render mode with the colour
      saved_.pop_back();
    } else if (op == "rg" || op == "g" || op == "k" || op == "sc" || op == "scn" || op == "cs") {
      SetInvisible(op == "rg" && IsStandInColour());
    }
  }

  bool IsStandInColour() const {
    if (operands_.size() != 3) return false;
    for (size_t i = 0; i < 3; ++i) {
      if (std::fabs(operands_[i] - kStandInColour[i]) > 1e-4) return false;
    }
    return true;
  }

  void SetInvisible(bool invisible) {
    if (invisible == invisible_) return;
    invisible_ = invisible;
    write(invisible ? " 3 Tr" : " 0 Tr");
  }

  std::vector<double> operands_;
  bool invisible_ = false;
  std::vector<bool> saved_;
};

class Finisher {
 public:
  Finisher(QPDF& pdf, const StructTree& tree, const DrawnPages& pages)
      : pdf_(pdf), nodes_(tree.nodes()), tree_(tree), pages_(pages) {
    for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(pdf_).getAllPages()) {
      pageObjects_.push_back(page.getObjectHandle());
    }
  }

  // Ties cairo's marked content to the export's slots: cairo made one element per piece, in
  // the order the pieces were drawn.
  bool CollectMarks(std::string& error) {
    Handle root = pdf_.getRoot().getKey("/StructTreeRoot");
    std::vector<Handle> drawn =
        root.isDictionary() ? Items(root.getKey("/K")) : std::vector<Handle>{};
    if (drawn.size() != pages_.pieces.size()) {
      error = "cairo wrote " + std::to_string(drawn.size()) + " tagged pieces instead of " +
              std::to_string(pages_.pieces.size());
      return false;
    }
    for (size_t i = 0; i < drawn.size(); ++i) {
      Handle element = drawn[i];
      const int page = PageIndex(element.getKey("/Pg"), pages_.pieces[i].page);
      const ContentSlot slot = pages_.pieces[i].slot;
      std::vector<MarkedRef>& marks = nodes_[slot.node].kids[slot.kid].marks;
      for (Handle kid : Items(element.getKey("/K"))) {
        if (kid.isInteger()) {
          marks.push_back({page, static_cast<int>(kid.getIntValue())});
        } else if (kid.isDictionary() && kid.getKey("/MCID").isInteger()) {
          const int at = PageIndex(kid.getKey("/Pg"), page);
          marks.push_back({at, static_cast<int>(kid.getKey("/MCID").getIntValue())});
        }
      }
    }
    return true;
  }

  void WriteTree() {
    Handle root = pdf_.makeIndirectObject(Handle::newDictionary());
    std::vector<Handle> elements;
    for (size_t i = 0; i < nodes_.size(); ++i) {
      elements.push_back(pdf_.makeIndirectObject(Handle::newDictionary()));
    }
    std::map<int, std::map<int, Handle>> owners;  // page -> MCID -> element
    for (size_t i = 0; i < nodes_.size(); ++i) {
      const StructNode& node = nodes_[i];
      Handle e = elements[i];
      e.replaceKey("/Type", Handle::newName("/StructElem"));
      e.replaceKey("/S", Handle::newName("/" + node.type));
      e.replaceKey("/P", node.parent < 0 ? root : elements[node.parent]);
      // /ID is a byte string: readers compare its bytes with the host's UTF-8 identifier, so
      // it must not become a text string with a byte-order mark.
      if (!node.id.empty()) e.replaceKey("/ID", Handle::newString(node.id));
      Handle kids = Handle::newArray();
      for (const StructKid& kid : node.kids) {
        if (kid.node >= 0) {
          kids.appendItem(elements[kid.node]);
          continue;
        }
        for (const MarkedRef& mark : kid.marks) {
          Handle mcr = Handle::newDictionary();
          mcr.replaceKey("/Type", Handle::newName("/MCR"));
          mcr.replaceKey("/Pg", pageObjects_.at(mark.page));
          mcr.replaceKey("/MCID", Handle::newInteger(mark.mcid));
          kids.appendItem(mcr);
          owners[mark.page][mark.mcid] = e;
          if (!e.hasKey("/Pg")) e.replaceKey("/Pg", pageObjects_.at(mark.page));
        }
      }
      if (kids.getArrayNItems() > 0) e.replaceKey("/K", kids);
    }
    Handle rootKids = Handle::newArray();
    for (int r : tree_.roots()) rootKids.appendItem(elements[r]);

    // The parent tree: for each page with marked content, its elements by MCID.
    Handle nums = Handle::newArray();
    int nextKey = 0;
    for (size_t page = 0; page < pageObjects_.size(); ++page) {
      Handle key = pageObjects_[page].getKey("/StructParents");
      if (key.isInteger()) nextKey = std::max(nextKey, static_cast<int>(key.getIntValue()) + 1);
    }
    for (size_t page = 0; page < pageObjects_.size(); ++page) {
      auto found = owners.find(static_cast<int>(page));
      if (found == owners.end()) continue;
      Handle key = pageObjects_[page].getKey("/StructParents");
      if (!key.isInteger()) {
        key = Handle::newInteger(nextKey++);
        pageObjects_[page].replaceKey("/StructParents", key);
      }
      Handle byMcid = Handle::newArray();
      const int last = found->second.rbegin()->first;
      for (int mcid = 0; mcid <= last; ++mcid) {
        auto owner = found->second.find(mcid);
        byMcid.appendItem(owner == found->second.end() ? Handle::newNull() : owner->second);
      }
      nums.appendItem(key);
      nums.appendItem(pdf_.makeIndirectObject(byMcid));
    }
    SortNums(nums);
    Handle parentTree = Handle::newDictionary();
    parentTree.replaceKey("/Nums", nums);

    Handle roleMap = Handle::newDictionary();
    for (const auto& [type, standard] : tree_.roleMap()) {
      roleMap.replaceKey("/" + type, Handle::newName("/" + standard));
    }
    root.replaceKey("/Type", Handle::newName("/StructTreeRoot"));
    root.replaceKey("/K", rootKids);
    root.replaceKey("/ParentTree", pdf_.makeIndirectObject(parentTree));
    root.replaceKey("/ParentTreeNextKey", Handle::newInteger(nextKey));
    if (!tree_.roleMap().empty()) root.replaceKey("/RoleMap", roleMap);
    pdf_.getRoot().replaceKey("/StructTreeRoot", root);
    Handle markInfo = Handle::newDictionary();
    markInfo.replaceKey("/Marked", Handle::newBool(true));
    pdf_.getRoot().replaceKey("/MarkInfo", markInfo);
  }

 private:
  int PageIndex(Handle page, int fallback) const {
    for (size_t i = 0; i < pageObjects_.size(); ++i) {
      if (page.isIndirect() && page.getObjGen() == pageObjects_[i].getObjGen()) {
        return static_cast<int>(i);
      }
    }
    return fallback;
  }

  static void SortNums(Handle& nums) {
    std::vector<std::pair<long long, Handle>> pairs;
    for (int i = 0; i + 1 < nums.getArrayNItems(); i += 2) {
      pairs.emplace_back(nums.getArrayItem(i).getIntValue(), nums.getArrayItem(i + 1));
    }
    std::sort(pairs.begin(), pairs.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    nums = Handle::newArray();
    for (auto& [key, value] : pairs) {
      nums.appendItem(Handle::newInteger(key));
      nums.appendItem(value);
    }
  }

  QPDF& pdf_;
  std::vector<StructNode> nodes_;
  const StructTree& tree_;
  const DrawnPages& pages_;
  std::vector<Handle> pageObjects_;
};

// A library's message with the export's own intermediate files named as the file the user
// asked for: the user never named them.
std::string UsersPathIn(std::string message, std::initializer_list<std::string> ownFiles,
                        const std::string& usersPath) {
  for (const std::string& own : ownFiles) {
    for (size_t at = 0; !own.empty() && (at = message.find(own, at)) != std::string::npos;
         at += usersPath.size())
      message.replace(at, own.size(), usersPath);
  }
  return message;
}

}  // namespace

std::string PdfDate(int64_t seconds) {
  const std::time_t t = static_cast<std::time_t>(seconds);
  std::tm utc{};
  gmtime_r(&t, &utc);
  char text[32];
  std::strftime(text, sizeof text, "D:%Y%m%d%H%M%SZ", &utc);
  return text;
}

int32_t FinishPdf(const std::string& drawnPath, const std::string& outPath, const StructTree& tree,
                  const DrawnPages& pages, const FinishSettings& settings, std::string& error) {
  // A symbolic link stays a link: the file it names is replaced.
  const std::string target = SavedPath(outPath);
  const std::string temporary = target + ".part";
  try {
    QPDF pdf;
    pdf.processFile(drawnPath.c_str());
    std::vector<QPDFPageObjectHelper> all = QPDFPageDocumentHelper(pdf).getAllPages();
    for (const auto& [page, degrees] : settings.pageRotation) {
      if (page < 0 || page >= static_cast<int>(all.size())) {
        error = "page rotation for page " + std::to_string(page + 1) + " (index " +
                std::to_string(page) + "), but the export has " + std::to_string(all.size()) +
                (all.size() == 1 ? " page" : " pages");
        return tolvane::ERR_BAD_VALUE;
      }
    }
    Finisher finisher(pdf, tree, pages);
    if (!finisher.CollectMarks(error)) return tolvane::ERR_FILE_WRITE;
    finisher.WriteTree();
    for (QPDFPageObjectHelper& page : all) {
      page.addContentTokenFilter(std::make_shared<StandInFilter>());
    }
    Handle info = pdf.getTrailer().getKey("/Info");
    if (!info.isDictionary()) {
      info = pdf.makeIndirectObject(Handle::newDictionary());
      pdf.getTrailer().replaceKey("/Info", info);
    }
    info.replaceKey("/Creator", Handle::newUnicodeString(settings.creator));
    info.replaceKey("/CreationDate", Handle::newString(PdfDate(settings.creationTime)));
    for (const auto& [page, degrees] : settings.pageRotation) {
      all[page].getObjectHandle().replaceKey("/Rotate", Handle::newInteger(degrees));
    }
    QPDFWriter writer(pdf, temporary.c_str());
    writer.write();
  } catch (const std::exception& e) {
    std::remove(temporary.c_str());
    error =
        "cannot write " + outPath + ": " + UsersPathIn(e.what(), {drawnPath, temporary}, outPath);
    return tolvane::ERR_FILE_WRITE;
  }
  std::error_code failed;
  std::filesystem::rename(temporary, target, failed);
  if (failed) {
    std::remove(temporary.c_str());
    error = "cannot write " + outPath + ": " + failed.message();
    return tolvane::ERR_FILE_WRITE;
  }
  return 0;
}

}  // namespace tlhost::pdfexport
