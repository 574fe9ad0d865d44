#pragma once
#include "chartengine/canvas/ChartClassInfo.h"

#include <memory>
#include <string>
#include <vector>

// One entry of the gallery of series and function types.
struct TChartSeriesType {
  TChartClassRef SeriesClass = nullptr;   // may be absent
  TChartClassRef FunctionClass = nullptr; // may be absent
  std::string Description;                // at most 20 characters
  std::string GalleryPage;                // at most 20 characters
  int NumGallerySeries = 0;
};

constexpr std::size_t MaxSeriesTypeTextLength = 20;

// The registered types, in order of registration. The list owns its entries.
class TChartSeriesTypes {
public:
  int Count() const { return static_cast<int>(m_items.size()); }
  const TChartSeriesType &Item(int index) const { return *m_items.at(index); }

  // Appends unless an entry with the same pair of classes exists; texts are
  // cut to 20 characters. Answers whether an entry was added.
  bool Add(TChartClassRef seriesClass, TChartClassRef functionClass, const std::string &description,
           const std::string &galleryPage, int numGallerySeries);
  // Removes every entry whose series class (isSeries) or function class is cls.
  void Remove(bool isSeries, TChartClassRef cls);

private:
  std::vector<std::unique_ptr<TChartSeriesType>> m_items;
};

// The program's list; nullptr until the first registration.
const TChartSeriesTypes *ChartSeriesTypes();
// Frees the list and its entries (end of the program, test fixtures).
void FreeChartSeriesTypes();

// Registration, called explicitly at start-up. Each given class is also
// entered in the streaming registry.
void RegisterSeriesFunction(TChartClassRef seriesClass, TChartClassRef functionClass,
                            const std::string &description, const std::string &galleryPage,
                            int numGallerySeries);
void RegisterSeriesType(TChartClassRef seriesClass, const std::string &description,
                        const std::string &galleryPage, int numGallerySeries);
void RegisterFunctionType(TChartClassRef functionClass, const std::string &description,
                          const std::string &galleryPage, int numGallerySeries);
// A function on the "Functions" page with 2 gallery series.
void RegisterBasicFunction(TChartClassRef functionClass, const std::string &description);

void UnregisterSeriesOrFunction(bool isSeries, TChartClassRef cls);
void UnregisterSeriesTypes(const std::vector<TChartClassRef> &classes);
