namespace panel { void ui_placeholder() {} }
