// The news window's tool bar, item pane and banners.
#include "alerts/news/NewsForm.h"

#include "alerts/news/NewsFormParts.h"
#include "alerts/news/NewsIcons.h"
#include "core/StandIns.h"
#include "platform/EmbeddedBrowser.h"
#include "platform/OpenUrl.h"
#include "webcontent/AdService.h"
#include "webcontent/AnimGif.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

#include <algorithm>

using namespace newsform;

namespace {
constexpr int kMinScreenWidthForBanners = 800;
constexpr int kCaptionLabelWidth = 84;
constexpr int kCaptionLabelHeight = 46;
std::function<void(int slot)> g_bannerClickHook;
} // namespace

void SetNewsBannerClickHook(std::function<void(int slot)> hook) {
  g_bannerClickHook = std::move(hook);
}

// ---- Tool bar and item pane ---------------------------------------------------------------

void TfrmNews::BuildNavPan() {
  pbNavLeft = MakePictureButton(NavPan, "pbNavLeft", NewsIcon(TNewsIcon::Back),
                                QStringLiteral("Back"));
  pbNavRight = MakePictureButton(NavPan, "pbNavRight", NewsIcon(TNewsIcon::Forward),
                                 QStringLiteral("Forward"));
  pbNavStop = MakePictureButton(NavPan, "pbNavStop", NewsIcon(TNewsIcon::Stop),
                                QStringLiteral("Stop"));
  pbPrint = MakePictureButton(NavPan, "pbPrint", NewsIcon(TNewsIcon::Print),
                              QStringLiteral("Print"));
  pbFind = MakePictureButton(NavPan, "pbFind", NewsIcon(TNewsIcon::Find),
                             QStringLiteral("Find on this page"));
  pbNavHome = MakeButton(NavPan, "pbNavHome", QStringLiteral("Home"));
  pbGo = MakeButton(NavPan, "pbGo", QStringLiteral("&Go"));
  pbOpenLink = MakeButton(NavPan, "pbOpenLink", QStringLiteral("Open in Browser"));
  pbOpenLink->setToolTip(QStringLiteral("Open this page in your web browser."));
  lbAddress = MakeLabel(NavPan, "lbAddress", QStringLiteral("Address:"));
  lbAddress->resize(lbAddress->sizeHint());
  dfAddress = new QLineEdit(NavPan);
  dfAddress->setObjectName(QStringLiteral("dfAddress"));
  dfAddress->setReadOnly(true);
  dfAddress->setFont(NewsQFont());
  // Until the browser reports its state there is nothing to go back or forward to.
  for (QPushButton *b : {pbNavLeft, pbNavRight, pbNavStop, pbPrint, pbFind, pbOpenLink})
    b->setEnabled(false);
  pbNavHome->hide();
  pbGo->hide();
  connect(pbNavLeft, &QPushButton::clicked, this,
          [this] { Guarded("pbNavLeftClick", [this] { pbNavLeftClick(); }); });
  connect(pbNavRight, &QPushButton::clicked, this,
          [this] { Guarded("pbNavRightClick", [this] { pbNavRightClick(); }); });
  connect(pbNavStop, &QPushButton::clicked, this,
          [this] { Guarded("pbNavStopClick", [this] { pbNavStopClick(); }); });
  connect(pbPrint, &QPushButton::clicked, this,
          [this] { Guarded("pbPrintClick", [this] { pbPrintClick(); }); });
  connect(pbFind, &QPushButton::clicked, this,
          [this] { Guarded("pbFindClick", [this] { pbFindClick(); }); });
  connect(pbNavHome, &QPushButton::clicked, this,
          [this] { Guarded("pbNavHomeClick", [this] { pbNavHomeClick(); }); });
  connect(pbGo, &QPushButton::clicked, this,
          [this] { Guarded("pbGoClick", [this] { pbGoClick(); }); });
  connect(pbOpenLink, &QPushButton::clicked, this,
          [this] { Guarded("pbOpenLinkClick", [this] { pbOpenLinkClick(); }); });
  connect(dfAddress, &QLineEdit::textChanged, this, [this](const QString &text) {
    pbOpenLink->setEnabled(!WebLinkUrl(text.toStdString()).empty());
  });
}

void TfrmNews::BuildItemPane() {
  PanTop = new QWidget(panIE);
  PanTop->setObjectName(QStringLiteral("PanTop"));
  PanTop->resize(102, 19);
  SetBackground(PanTop, Qt::white);
  SpinImg = MakeLabel(PanTop, "SpinImg", QStringLiteral("Loading..."));
  SpinImg->setGeometry(0, 0, 102, 19);
  SpinImg->setAlignment(Qt::AlignCenter);
  PanTop->hide();
}

namespace {
constexpr int kNavGap = 1;            // between the picture buttons
constexpr int kNavAddressGap = 6;     // before "Address:"
constexpr int kNavMinAddressWidth = 120;
} // namespace

void TfrmNews::LayoutNavPan(int goX) {
  const int h = NavPan->height();
  int x = 2;
  for (QPushButton *b : {pbNavLeft, pbNavRight, pbNavStop, pbPrint, pbFind}) {
    b->move(x, (h - b->height()) / 2);
    x += b->width() + kNavGap;
  }
  x += kNavAddressGap;
  lbAddress->move(x, (h - lbAddress->height()) / 2);
  x += lbAddress->width() + 4;
  pbGo->move(goX, (h - pbGo->height()) / 2);
  pbNavHome->move(goX, (h - pbNavHome->height()) / 2);
  // "Open in Browser" takes the right edge where the hidden Go button sits.
  const int openX = NavPan->width() - 1 - pbOpenLink->width();
  pbOpenLink->move(openX, (h - pbOpenLink->height()) / 2);
  const int editH = dfAddress->sizeHint().height();
  dfAddress->setGeometry(x, (h - editH) / 2, std::max(0, openX - 3 - x), editH);
}

int TfrmNews::NavPanMinWidth() const {
  int w = 2;
  for (QPushButton *b : {pbNavLeft, pbNavRight, pbNavStop, pbPrint, pbFind})
    w += b->width() + kNavGap;
  return w + kNavAddressGap + lbAddress->width() + 4 + kNavMinAddressWidth + 3 +
         pbOpenLink->width() + 1;
}

void TfrmNews::LayoutItemPane() {
  if (QWidget *view = m_browser && m_browser->Available() ? m_browser->Widget() : nullptr)
    view->setGeometry(panIE->rect());
  PanTop->raise();
}

// ---- Banners ------------------------------------------------------------------------

void TfrmNews::BuildBanners() {
  panAd = new QFrame(panNews);
  panAd->setObjectName(QStringLiteral("panAd"));
  panAd->resize(NewsBannerSize);
  BannerAd = MakeLabel(panAd, "BannerAd", QString());
  BannerAd->setGeometry(QRect(QPoint(0, 0), NewsBannerSize));
  BannerAd->setCursor(Qt::PointingHandCursor);
  BannerAd->setToolTip(QStringLiteral("Keep this program FREE.  Click on the banner."));
  BannerAd->installEventFilter(this);
  ClickLabL = MakeLabel(panNews, "ClickLabL", QStringLiteral("Keep this program free"));
  ClickLabR = MakeLabel(panNews, "ClickLabR", QStringLiteral("Click on sponsors' banners!"));
  for (QLabel *l : {ClickLabL, ClickLabR}) {
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    l->resize(kCaptionLabelWidth, kCaptionLabelHeight);
  }
  ClickPicL = MakeLabel(panNews, "ClickPicL", QStringLiteral("\u25B6"));
  ClickPicR = MakeLabel(panNews, "ClickPicR", QStringLiteral("\u25C0"));
  for (QLabel *l : {ClickPicL, ClickPicR})
    l->resize(BannerArrowSize);

  m_bannerSlot = RegisterAdSlot(NewsBannerLocation);
  m_bannerGif = std::make_unique<TAnimGif>();
  AdjustGifDrawOptions(m_bannerGif.get());
  BannerAd->setProperty("Tag", m_bannerSlot);
  if (m_bannerSlot > 0) {
    TAdSlot &slot = AdSlotTable[m_bannerSlot];
    slot.Panel = panAd;
    slot.Image = BannerAd;
    slot.Gif = m_bannerGif.get();
    slot.CaptionL = ClickLabL;
    slot.CaptionR = ClickLabR;
    ShowAdBlurb(m_bannerSlot);
  }

  QScreen *screen = QGuiApplication::primaryScreen();
  const int screenWidth = screen ? screen->geometry().width() : 0;
  m_bannersOn = AdsShowSetting && screenWidth >= kMinScreenWidthForBanners;
  for (int p = 1; p <= SideBannerCount; ++p) {
    SideBanner &side = m_side[p];
    if (!m_bannersOn || !FindAdLocation(SideBannerLocationBase + p))
      continue;
    side.Gif = std::make_unique<TAnimGif>();
    AdjustGifDrawOptions(side.Gif.get());
    side.Panel = new QFrame(panNews);
    side.Panel->setObjectName(QStringLiteral("panSideAd%1").arg(p));
    side.Panel->setFrameShape(QFrame::NoFrame);
    side.Panel->resize(p == 3 || p == 4 ? SideBannerSize : SideBannerPairSize);
    side.Image = new QLabel(side.Panel);
    side.Image->setObjectName(QStringLiteral("imgSideAd%1").arg(p));
    side.Image->setGeometry(side.Panel->rect());
    side.Image->setCursor(Qt::PointingHandCursor);
    side.Image->installEventFilter(this);
    side.Slot = RegisterAdSlot(SideBannerLocationBase + p);
    side.Image->setProperty("Tag", side.Slot);
    side.Image->setProperty("SidePosition", p);
    if (side.Slot > 0) {
      TAdSlot &slot = AdSlotTable[side.Slot];
      slot.Panel = side.Panel;
      slot.Image = side.Image;
      slot.Gif = side.Gif.get();
      slot.CaptionL = ClickLabL;
      slot.CaptionR = ClickLabR;
    }
  }
  const bool shown = m_bannersOn;
  for (QWidget *w : {static_cast<QWidget *>(panAd), static_cast<QWidget *>(ClickLabL),
                     static_cast<QWidget *>(ClickLabR), static_cast<QWidget *>(ClickPicL),
                     static_cast<QWidget *>(ClickPicR)})
    w->setVisible(shown);
}

void TfrmNews::ReleaseBanners() {
  for (int p = 1; p <= SideBannerCount; ++p) {
    SideBanner &side = m_side[p];
    if (!side.Gif)
      continue;
    if (side.Panel)
      side.Panel->hide();
    ClearAdSlot(side.Slot);
    side.Gif->SetAnimate(false);
    UnregisterAdSlot(side.Slot);
    side.Slot = 0;
    side.Gif->StopPainting();
    side.Gif.reset();
  }
  BannerAd->hide();
  if (m_bannerSlot > 0) {
    ClearAdSlot(m_bannerSlot);
    UnregisterAdSlot(m_bannerSlot);
    m_bannerSlot = 0;
  }
  if (m_bannerGif)
    m_bannerGif->StopPainting();
  BannerAd->clear();
}

void TfrmNews::BannerAdClick() {
  if (g_bannerClickHook)
    g_bannerClickHook(m_bannerSlot);
  HandleAdClick(m_bannerSlot);
}

void TfrmNews::SideAdClick(int position) {
  if (position < 1 || position > SideBannerCount || !m_side[position].Image)
    return;
  HandleAdClick(m_side[position].Image->property("Tag").toInt());
}
