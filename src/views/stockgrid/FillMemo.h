#pragma once
// What the fill passes of one grid last wrote into each row: the inputs the
// row's texts were computed from and the row's version in the cell store
// right after the writes (every text or tag write moves it). A later pass
// whose inputs for a row are the same, on a row nobody wrote since, knows
// the texts without computing them; when only the portfolio's percentage
// base moved, only % Port is looked at, and formatted only when its raw
// share left the range of its held text. Rows also keep their tag and,
// where rows share them, the texts they hold.
//
// Used by one fill pass at a time (the grid starts no second one), through
// TRowFill (RowFill.h). The queries change nothing.
#include "views/stockgrid/CellTexts.h"
#include "views/stockgrid/ColumnMap.h"
#include "views/stockgrid/RowInputs.h"
#include "views/stockgrid/ShareRange.h"

#include <cstdint>
#include <memory>
#include <vector>

class TFillMemo {
public:
  enum class TReuse {
    None,      // compute the row
    All,       // every text is what the row holds
    ShareOnly, // every text but % Port is what the row holds
  };

  // Starts a pass; forgets every row when the columns differ from those of
  // the remembered rows.
  void BeginPass(const TColumnMap &colPos, int colCount);
  // What a row with these inputs and store version can reuse. version 0
  // (a store that keeps no versions) reuses nothing.
  TReuse Check(int row, const CellTextInputs &in, std::uint64_t version) const;
  // The remembered inputs of a row; null when none (or not at this version's
  // columns). Used with ListRowUnchanged to skip gathering a row.
  const CellTextInputs *Inputs(int row) const;
  // What a row whose inputs are its remembered ones with this % Port base
  // can reuse.
  TReuse CheckKnown(int row, double pctBase, std::uint64_t version) const;
  // The remembered inputs of a row take this % Port base (before the row's
  // texts are computed from them).
  void TakeBase(int row, double pctBase);
  // The row now holds the texts of its remembered inputs at this version.
  // texts, when given, are those texts (shared with other rows).
  void Confirm(int row, std::uint64_t version, const std::string *share,
               std::shared_ptr<const CellTexts> texts = nullptr);
  // The row now holds the texts of these inputs, at this version; share is
  // its % Port text when it has one (null when not). The inputs were
  // gathered from the row's reading as it is now (Reading).
  void Remember(int row, const CellTextInputs &in, std::uint64_t version, const std::string *share,
                std::shared_ptr<const CellTexts> texts = nullptr);
  // A row that reused ShareOnly now holds the texts of its inputs with this
  // percentage base, at this version, and this % Port text, which every raw
  // share in range gives.
  void Rebase(int row, double pctBase, std::uint64_t version, const std::string *share,
              TShareRange range = {});
  // The % Port text a row reusing ShareOnly holds; null when unknown.
  const std::string *Share(int row) const;
  // What a row reusing ShareOnly knows of its % Port besides the text: its
  // source (valid while the inputs but the base stay; Confirm and Remember
  // forget it) and the raw shares that give the held text (Rebase sets it).
  struct TShareMemo {
    bool SourceKnown = false;
    ShareSource Source;
    TShareRange Range;
  };
  // Null when the row is not remembered.
  TShareMemo *ShareMemo(int row);
  // The texts the row holds as given to Confirm or Remember; null when not
  // given or when not remembered. A rebase that changes % Port forgets them.
  const std::shared_ptr<const CellTexts> &Texts(int row) const;
  // True when the row is remembered at this version (not written since).
  bool Holds(int row, std::uint64_t version) const;
  // The row's last store reading (RowInputs.h), kept whatever its texts.
  StoreReading *Reading(int row);
  // The tag a pass gave the row's symbol cell (UnknownTag when none or when
  // that failed); what the row has while Holds says nobody wrote it since.
  static constexpr std::intptr_t UnknownTag = -1;
  std::intptr_t Tag(int row) const;
  void SetTag(int row, std::intptr_t tag);
  // The Serial of the reading the row's remembered inputs were gathered
  // from (0 when none).
  std::uint64_t InputsSerial(int row) const;
  void Forget(int row);

private:
  // What a pass reads of every row first, then the inputs.
  struct Row {
    bool Valid = false;
    bool HasShare = false;
    std::uint64_t Version = 0;
    std::uint64_t InputsSerial = 0;
    std::string Share;
    TShareMemo ShareMemo;
    std::shared_ptr<const CellTexts> Texts;
    CellTextInputs Inputs;
  };

  TColumnMap m_colPos{};
  int m_colCount = -1;
  std::vector<Row> m_rows;
  std::vector<StoreReading> m_readings;
  std::vector<std::intptr_t> m_tags;
};
