#pragma once
// Every binder: one per control kind. A window builds its widgets and binds each to its control model with
// the bindX function of the kind, passing the controller's handler for the control's event.

#include "ui/bind_button.h"
#include "ui/bind_check_box.h"
#include "ui/bind_check_tree.h"
#include "ui/bind_column_list.h"
#include "ui/bind_combo_box.h"
#include "ui/bind_frame.h"
#include "ui/bind_label.h"
#include "ui/bind_masked_field.h"
#include "ui/bind_menu_item.h"
#include "ui/bind_option.h"
#include "ui/bind_progress_bar.h"
#include "ui/bind_status_bar.h"
#include "ui/bind_tabs.h"
#include "ui/bind_text_box.h"
#include "ui/bind_window.h"
#include "ui/masked_line_edit.h"
