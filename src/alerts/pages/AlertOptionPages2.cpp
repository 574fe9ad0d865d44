#include "alerts/pages/AlertOptionPages2.h"

#include "alerts/pages/AlertDefaultsPage.h"
#include "alerts/pages/EMailPage.h"
#include "alerts/pages/QuickAlertsPage.h"
#include "prefs/PrefPageRegistry.h"

void RegisterAlertOptionPages2() { RegisterAlertOptionPages2(PrefPageRegistry()); }

void RegisterAlertOptionPages2(TPrefPageRegistry &registry) {
  registry.Register(PrefPageAlertDefaults, "Alert Defaults",
                    [](QWidget *parent) { return new TOPanAlertDefs(parent); });
  registry.Register(PrefPageQuickAlerts, "Quick Alerts",
                    [](QWidget *parent) { return new TOQuickAlerts(parent); });
  registry.Register(PrefPageEMail, "Email Templates",
                    [](QWidget *parent) { return new TOPanEmail(parent); });
}
