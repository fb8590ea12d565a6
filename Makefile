# Set-up, build, run and test Quillmark on a Debian machine.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

# Build: Qt 6, libzint. Tests: zxing-cpp, zbar, outside readers for what we write
# (libwmf-bin, poppler-utils), a private CUPS with the PDF backend and the sample label
# drivers (cups-common), libcups for a queue's resolution, and a comma locale.
PACKAGES = cmake g++ make qt6-base-dev libzint-dev zlib1g-dev libzxing-dev zbar-tools \
           fonts-liberation libwmf-bin poppler-utils cups cups-common libcups2-dev \
           printer-driver-cups-pdf locales xvfb xauth

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps locale configure build run test clean

deps:
	@missing=$$(for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing: $$missing"; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

locale: deps
	@locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$$' || $(SUDO) localedef -i de_DE -f UTF-8 de_DE.UTF-8

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	./$(BUILD_DIR)/quillmark

test: build locale
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest -j2 --output-on-failure

clean:
	rm -rf $(BUILD_DIR)
