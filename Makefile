# Set-up, build, run, test and package Quillmark on a Debian machine.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

# The program: Qt 6 (with Qt SVG for pictures on labels) and libzint (zlib for its PNG writer), libcups for a queue's
# resolution, the fonts its design defaults to, and the label products of
# glabels-data for the print dialog's chooser.
RUN_PACKAGES = cmake g++ make qt6-base-dev qt6-svg-dev libzint-dev zlib1g-dev libcups2-dev fonts-liberation \
               glabels-data
# The tests: zxing-cpp and zbar read what we draw, outside readers for what we write
# (libwmf-bin for metafiles, poppler-utils), a private CUPS with the PDF
# backend and the sample label drivers (cups-common), a comma locale, and the desktop's
# validators for the installed files (shared-mime-info compiles the design files' type);
# rsvg-convert and Ghostscript rasterise the SVG and EPS pictures, xmllint (libxml2-utils)
# checks that every SVG is well-formed XML; lintian judges the Debian package.
TEST_PACKAGES = libzxing-dev zbar-tools libwmf-bin poppler-utils cups cups-common \
                printer-driver-cups-pdf locales xvfb xauth desktop-file-utils appstream \
                shared-mime-info librsvg2-bin ghostscript libxml2-utils lintian
# The package: cpack's Debian generator finds the libraries the program needs with
# dpkg-shlibdeps (dpkg-dev) and looks at each file with file(1).
PACKAGE_PACKAGES = dpkg-dev file

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps test-deps package-deps locale configure test-configure build test-build run test package clean

# install-missing PACKAGE...: apt-get install whatever is not installed yet.
define install-missing
	@missing=$$(for p in $(1); do \
	  dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing: $$missing"; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi
endef

deps:
	$(call install-missing,$(RUN_PACKAGES))

# The tests build the package too, for lintian.
test-deps: package-deps
	$(call install-missing,$(TEST_PACKAGES))

package-deps: deps
	$(call install-missing,$(PACKAGE_PACKAGES))

locale: test-deps
	@locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$$' || $(SUDO) localedef -i de_DE -f UTF-8 de_DE.UTF-8

# The program alone: no zxing-cpp or Qt Test needed.
configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMARK_TESTS=OFF >/dev/null

test-configure: test-deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMARK_TESTS=ON >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

test-build: test-configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	./$(BUILD_DIR)/quillmark

test: test-build locale
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest -j2 --output-on-failure

# A .deb in build/, built from the program alone.
package: package-deps build
	cd $(BUILD_DIR) && cpack -G DEB

clean:
	rm -rf $(BUILD_DIR)
