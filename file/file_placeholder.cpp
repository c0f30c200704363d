namespace panel { void file_placeholder() {} }
