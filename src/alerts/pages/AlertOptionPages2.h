#pragma once
// Registration of the alert defaults, quick alerts and e-mail template pages.

class TPrefPageRegistry;

// Registers the pages as the tabs "Alert Defaults", "Quick Alerts" and
// "Email Templates" of the preferences dialog. Called once at start-up,
// before the dialog is first opened.
void RegisterAlertOptionPages2();
void RegisterAlertOptionPages2(TPrefPageRegistry &registry);
