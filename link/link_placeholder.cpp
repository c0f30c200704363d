namespace panel { void link_placeholder() {} }
