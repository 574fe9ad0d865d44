#include "chartengine/canvas/ChartSeriesTypes.h"

#include "chartengine/canvas/ChartTexts.h"
#include "platform/StringUtils.h"

#include <algorithm>

bool TChartSeriesTypes::Add(TChartClassRef seriesClass, TChartClassRef functionClass,
                            const std::string &description, const std::string &galleryPage,
                            int numGallerySeries) {
  for (const auto &item : m_items)
    if (item->SeriesClass == seriesClass && item->FunctionClass == functionClass)
      return false;
  auto entry = std::make_unique<TChartSeriesType>();
  entry->SeriesClass = seriesClass;
  entry->FunctionClass = functionClass;
  entry->Description = CutTo(description, MaxSeriesTypeTextLength);
  entry->GalleryPage = CutTo(galleryPage, MaxSeriesTypeTextLength);
  entry->NumGallerySeries = numGallerySeries;
  m_items.push_back(std::move(entry));
  return true;
}

void TChartSeriesTypes::Remove(bool isSeries, TChartClassRef cls) {
  std::erase_if(m_items, [&](const std::unique_ptr<TChartSeriesType> &item) {
    return (isSeries ? item->SeriesClass : item->FunctionClass) == cls;
  });
}

namespace {
std::unique_ptr<TChartSeriesTypes> &TheList() {
  static std::unique_ptr<TChartSeriesTypes> list;
  return list;
}
} // namespace

const TChartSeriesTypes *ChartSeriesTypes() { return TheList().get(); }

void FreeChartSeriesTypes() { TheList().reset(); }

void RegisterSeriesFunction(TChartClassRef seriesClass, TChartClassRef functionClass,
                            const std::string &description, const std::string &galleryPage,
                            int numGallerySeries) {
  RegisterChartClass(seriesClass);
  RegisterChartClass(functionClass);
  if (!TheList())
    TheList() = std::make_unique<TChartSeriesTypes>();
  TheList()->Add(seriesClass, functionClass, description, galleryPage, numGallerySeries);
}

void RegisterSeriesType(TChartClassRef seriesClass, const std::string &description,
                        const std::string &galleryPage, int numGallerySeries) {
  RegisterSeriesFunction(seriesClass, nullptr, description, galleryPage, numGallerySeries);
}

void RegisterFunctionType(TChartClassRef functionClass, const std::string &description,
                          const std::string &galleryPage, int numGallerySeries) {
  RegisterSeriesFunction(nullptr, functionClass, description, galleryPage, numGallerySeries);
}

void RegisterBasicFunction(TChartClassRef functionClass, const std::string &description) {
  RegisterFunctionType(functionClass, description, ChartText(ctGalleryFunctions), 2);
}

void UnregisterSeriesOrFunction(bool isSeries, TChartClassRef cls) {
  if (TheList())
    TheList()->Remove(isSeries, cls);
}

void UnregisterSeriesTypes(const std::vector<TChartClassRef> &classes) {
  for (TChartClassRef cls : classes)
    UnregisterSeriesOrFunction(true, cls);
}
