#include "pdf/pdf_outline.h"

#include "pdf/pdf_file.h"
#include "pdf/pdf_text.h"

namespace tarn {
namespace {

/// An item as it is written: its object number and its children's places.
struct Node {
  const PdfOutlineItem* item = nullptr;
  int object = 0;
  std::vector<Node> children;
};

bool onAPage(const PdfOutlineItem& item, const std::vector<int>& pages) {
  return item.page >= 0 && static_cast<std::size_t>(item.page) < pages.size();
}

void gather(const std::vector<PdfOutlineItem>& items, const std::vector<int>& pages,
            PdfFile& file, std::vector<Node>& out) {
  for (const PdfOutlineItem& item : items) {
    if (!onAPage(item, pages)) {
      gather(item.children, pages, file, out);
      continue;
    }
    Node node{&item, file.reserve(), {}};
    gather(item.children, pages, file, node.children);
    out.push_back(std::move(node));
  }
}

std::string ref(int object) { return std::to_string(object) + " 0 R"; }

void write(PdfFile& file, const std::vector<Node>& nodes, int parent,
           const std::vector<int>& pages) {
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    const Node& n = nodes[i];
    std::string d = "<</Title" + pdfUtf16String(n.item->title) + "/Parent " + ref(parent);
    if (i > 0) d += "/Prev " + ref(nodes[i - 1].object);
    if (i + 1 < nodes.size()) d += "/Next " + ref(nodes[i + 1].object);
    if (!n.children.empty()) {
      d += "/First " + ref(n.children.front().object) + "/Last " + ref(n.children.back().object);
      // Closed: a unit shows its embed points when asked.
      d += "/Count -" + std::to_string(n.children.size());
    }
    d += "/Dest[" + ref(pages[static_cast<std::size_t>(n.item->page)]) + "/XYZ null ";
    appendPdfNumber(d, n.item->top, 3);
    d += " null]>>";
    file.object(n.object, d);
    write(file, n.children, n.object, pages);
  }
}

}  // namespace

int writeOutline(PdfFile& file, const std::vector<PdfOutlineItem>& items,
                 const std::vector<int>& pageObjects) {
  std::vector<Node> top;
  gather(items, pageObjects, file, top);
  if (top.empty()) return 0;
  const int root = file.reserve();
  write(file, top, root, pageObjects);
  file.object(root, "<</Type/Outlines/First " + ref(top.front().object) + "/Last " +
                        ref(top.back().object) + "/Count " + std::to_string(top.size()) + ">>");
  return root;
}

}  // namespace tarn
