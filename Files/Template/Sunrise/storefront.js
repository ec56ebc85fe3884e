/* Trovecart storefront: the shop's catalogue, cart and PayPal checkout as a plain web page.
 * Loaded by one script line after the shop's <object> embed code. It loads storefront.css and the
 * catalogue (shopdata.js) from its own folder, hides the movie's <object> and shows the shop in
 * its place. Works offline and from file:// pages; every shop text goes in as text, never markup. */
(function () {
  'use strict';

  var TEXT = {
    allProducts: 'Products',
    back: 'Back to ',
    cart: 'Cart',
    yourCart: 'Your cart',
    emptyCart: 'Your cart is empty.',
    emptyCategory: 'There are no products here yet.',
    noCatalogue: 'The shop could not be loaded. Please try again later.',
    add: 'Add to cart',
    added: 'Added to your cart: ',
    viewCart: 'View cart',
    quantity: 'Quantity',
    remove: 'Remove',
    each: ' each',
    shipping: 'Shipping',
    freeShipping: 'Free',
    duration: 'Duration',
    was: 'Was ',
    subtotal: 'Subtotal',
    total: 'Total',
    checkout: 'Check out with PayPal',
    continueShopping: 'Continue shopping',
    noPayment: 'Checkout is not available yet: this shop has not set up its payment account.',
    homePage: 'Home page',
    contact: 'Contact: '
  };
  var PAYPAL = 'https://www.paypal.com/cgi-bin/webscr';
  var MAX_QUANTITY = 999;
  var FIRST_CARDS = 48;
  var HASH = '#sf-';

  var script = document.currentScript || findOwnScript();
  var folder = script ? script.src.replace(/[?#].*$/, '').replace(/[^\/]*$/, '') : '';

  function findOwnScript() {
    var scripts = document.getElementsByTagName('script');
    for (var i = scripts.length - 1; i >= 0; i--) {
      if (/storefront\.js([?#].*)?$/.test(scripts[i].src)) return scripts[i];
    }
    return null;
  }

  // ---- small DOM helpers; text always goes in through textContent ----

  function el(tag, className, text) {
    var node = document.createElement(tag);
    if (className) node.className = className;
    if (text !== undefined && text !== null) node.textContent = String(text);
    return node;
  }

  function append(parent) {
    for (var i = 1; i < arguments.length; i++) {
      if (arguments[i]) parent.appendChild(arguments[i]);
    }
    return parent;
  }

  function link(href, className, text) {
    var a = el('a', className, text);
    a.href = href;
    return a;
  }

  function mediaUrl(subfolder, file) {
    return folder + subfolder + '/' + encodeURIComponent(file);
  }

  // ---- the catalogue ----

  function text(value) {
    return typeof value === 'string' ? value : '';
  }

  function number(value) {
    return typeof value === 'number' && isFinite(value) ? value : 0;
  }

  function plainTitle(title) {
    if (title.toLowerCase().indexOf('<font size') < 0) return title;
    // An inert document: nothing in it loads or runs.
    return new DOMParser().parseFromString(title, 'text/html').body.textContent || '';
  }

  // Products are numbered from 1 across all categories in document order, like shop.xml's ids.
  function readShop(data) {
    var config = data.config || {};
    var shop = {
      id: text(data.id),
      title: plainTitle(text(config.title)),
      footer: text(config.footer),
      homePage: text(config.homePage).trim(),
      email: text(config.email).trim(),
      width: number(config.userWidth),
      height: number(config.userHeight),
      thumbWidth: number(config.thumbWidth) || 100,
      thumbHeight: number(config.thumbHeight) || 100,
      noImage: text(config.noImage),
      noVideo: text(config.noVideo),
      noAudio: text(config.noAudio),
      symbol: text(config.currencySymbol),
      paymentEmail: text(config.paymentEmail).trim(),
      paymentCurrency: text(config.paymentCurrency) || text(config.currencyAbbreviation),
      categories: [],
      products: Object.create(null)
    };
    var counter = 0;
    (data.categories || []).forEach(function (category, c) {
      var entry = { number: c + 1, name: text(category.name), products: [] };
      (category.products || []).forEach(function (raw) {
        var product = {
          number: ++counter,
          category: entry,
          name: text(raw.name),
          type: text(raw.type),
          description: text(raw.description),
          price: number(raw.price),
          discount: number(raw.discount),
          shipping: number(raw.shipping),
          thumb: text(raw.thumb),
          image: text(raw.image),
          preview: text(raw.preview),
          duration: text(raw.duration),
          options: (raw.options || []).map(function (option) {
            return { name: text(option.name), values: (option.values || []).map(text) };
          }).filter(function (option) { return option.values.length > 0; })
        };
        entry.products.push(product);
        shop.products[product.number] = product;
      });
      shop.categories.push(entry);
    });
    return shop;
  }

  function isDiscounted(product) {
    return product.discount > 0 && product.discount < product.price;
  }

  function unitPrice(product) {
    return isDiscounted(product) ? product.discount : product.price;
  }

  function cents(amount) {
    return Math.round(amount * 100);
  }

  function decimal(centAmount) {
    return (centAmount / 100).toFixed(2);
  }

  // ---- the cart, kept per shop in localStorage ----

  // Lines hold the product's number and name, the chosen option values and the quantity; a line
  // whose product is gone or changed is dropped when the cart is read.
  function Cart(shop) {
    this.shop = shop;
    this.key = 'storefront-cart:' + shop.id;
    this.lines = this.load();
  }

  Cart.prototype.load = function () {
    var stored = [];
    try {
      stored = JSON.parse(window.localStorage.getItem(this.key) || '[]');
    } catch (e) {
      stored = [];
    }
    var lines = [];
    var shop = this.shop;
    (Array.isArray(stored) ? stored : []).forEach(function (line) {
      var product = line && shop.products[line.product];
      if (!product || product.name !== line.name || !Array.isArray(line.choices) ||
          line.choices.length !== product.options.length) return;
      for (var i = 0; i < product.options.length; i++) {
        if (product.options[i].values.indexOf(line.choices[i]) < 0) return;
      }
      var quantity = Math.min(Math.max(Math.floor(number(line.quantity)), 1), MAX_QUANTITY);
      lines.push({ product: product, choices: line.choices.map(String), quantity: quantity });
    });
    return lines;
  };

  Cart.prototype.save = function () {
    var stored = this.lines.map(function (line) {
      return { product: line.product.number, name: line.product.name, choices: line.choices,
               quantity: line.quantity };
    });
    try {
      window.localStorage.setItem(this.key, JSON.stringify(stored));
    } catch (e) {
      // Storage off or full: the cart still lives for this page.
    }
  };

  Cart.prototype.add = function (product, choices, quantity) {
    var same = this.lines.filter(function (line) {
      return line.product === product && line.choices.join('\u0000') === choices.join('\u0000');
    })[0];
    if (same) same.quantity = Math.min(same.quantity + quantity, MAX_QUANTITY);
    else this.lines.push({ product: product, choices: choices, quantity: quantity });
    this.save();
  };

  Cart.prototype.count = function () {
    return this.lines.reduce(function (sum, line) { return sum + line.quantity; }, 0);
  };

  // In cents. Shipping is charged once per line, as PayPal charges shipping_N.
  Cart.prototype.totals = function () {
    var subtotal = 0;
    var shipping = 0;
    this.lines.forEach(function (line) {
      subtotal += cents(unitPrice(line.product)) * line.quantity;
      shipping += cents(line.product.shipping);
    });
    return { subtotal: subtotal, shipping: shipping, total: subtotal + shipping };
  };

  // PayPal's cart upload fields; options beyond the second share on1/os1.
  Cart.prototype.checkoutFields = function () {
    var shop = this.shop;
    // The page is UTF-8; without charset PayPal would read accented names as Latin-1.
    var fields = [['cmd', '_cart'], ['upload', '1'], ['business', shop.paymentEmail],
                  ['currency_code', shop.paymentCurrency], ['charset', 'utf-8']];
    this.lines.forEach(function (line, index) {
      var n = index + 1;
      var product = line.product;
      fields.push(['item_name_' + n, product.name], ['amount_' + n, decimal(cents(unitPrice(product)))],
                  ['quantity_' + n, String(line.quantity)], ['shipping_' + n, decimal(cents(product.shipping))]);
      var names = product.options.map(function (option) { return option.name; });
      if (names.length > 0) fields.push(['on0_' + n, names[0]], ['os0_' + n, line.choices[0]]);
      if (names.length > 1) {
        fields.push(['on1_' + n, names.slice(1).join(', ')], ['os1_' + n, line.choices.slice(1).join(', ')]);
      }
    });
    return fields;
  };

  // ---- the storefront ----

  function Storefront(shop, root) {
    this.shop = shop;
    this.root = root;
    this.storedCart = null;
    this.scrollOf = {};
    this.view = '';
    this.build();
  }

  // Read when first needed: opening the browser's storage can take longer than drawing the shop.
  Storefront.prototype.cart = function () {
    return this.storedCart || (this.storedCart = new Cart(this.shop));
  };

  Storefront.prototype.money = function (centAmount) {
    return this.shop.symbol + decimal(centAmount);
  };

  Storefront.prototype.build = function () {
    var shop = this.shop;
    var root = this.root;
    root.className = 'sf';
    root.setAttribute('role', 'region');
    root.setAttribute('aria-label', shop.title || TEXT.allProducts);
    // Also gives up the movie's size, which the place held while the catalogue loaded.
    root.style.width = shop.width > 0 ? shop.width + 'px' : '';
    root.style.height = shop.height > 0 ? shop.height + 'px' : '';

    var head = el('header', 'sf-head');
    var title = link(HASH + 'c1', 'sf-title', shop.title);
    this.cartLink = link(HASH + 'cart', 'sf-cartlink');
    this.cartCount = el('span', 'sf-count');
    append(this.cartLink, cartIcon(), el('span', 'sf-cartword', TEXT.cart), this.cartCount);
    append(head, title, this.cartLink);

    this.nav = el('nav', 'sf-cats');
    this.nav.setAttribute('aria-label', TEXT.allProducts);
    var list = el('ul');
    shop.categories.forEach(function (category) {
      append(list, append(el('li'), link(HASH + 'c' + category.number, '', category.name)));
    });
    this.nav.appendChild(list);

    this.body = el('div', 'sf-body');
    // Not <main>: the shop may sit inside the owner's own page, which has its main part already.
    this.main = el('div', 'sf-main');
    this.live = el('div', 'sf-sr');
    this.live.setAttribute('aria-live', 'polite');
    append(this.body, this.main, this.footer());
    append(root, head, shop.categories.length > 1 ? this.nav : null, this.body, this.live);
  };

  // Drawn in the page rather than as a CSS image: an SVG image gets a document of its own, whose
  // making delayed the first paint.
  function cartIcon() {
    var svg = svgElement('svg', { 'class': 'sf-carticon', viewBox: '0 0 24 24', 'aria-hidden': 'true' });
    append(svg, svgElement('path', { d: 'M2.5 4h2.6l2.3 10.1a1 1 0 0 0 1 .8h9.4a1 1 0 0 0 1-.8L20.5 7.5H6' }),
           svgElement('circle', { cx: '9.5', cy: '19.5', r: '1.8' }),
           svgElement('circle', { cx: '17', cy: '19.5', r: '1.8' }));
    return svg;
  }

  function svgElement(tag, attributes) {
    var node = document.createElementNS('http://www.w3.org/2000/svg', tag);
    Object.keys(attributes).forEach(function (name) { node.setAttribute(name, attributes[name]); });
    return node;
  }

  Storefront.prototype.footer = function () {
    var shop = this.shop;
    var foot = el('footer', 'sf-foot');
    if (shop.footer) foot.appendChild(el('p', 'sf-foottext', shop.footer));
    var links = el('p', 'sf-footlinks');
    var home = webAddress(shop.homePage);
    if (home) {
      var a = link(home, '', TEXT.homePage);
      a.target = '_blank';
      a.rel = 'noopener';
      links.appendChild(a);
    }
    if (/^[^\s@]+@[^\s@]+$/.test(shop.email)) {
      append(links, el('span', '', TEXT.contact), link('mailto:' + shop.email, '', shop.email));
    }
    if (links.firstChild) foot.appendChild(links);
    return foot.firstChild ? foot : null;
  };

  function webAddress(address) {
    if (!address) return '';
    if (/^https?:\/\//i.test(address)) return address;
    if (/^[a-z][a-z0-9+.\-]*:/i.test(address)) return '';
    return 'http://' + address;
  }

  Storefront.prototype.updateCount = function () {
    var count = this.cart().count();
    this.cartCount.textContent = String(count);
    this.cartLink.setAttribute('aria-label', TEXT.cart + ', ' + count);
  };

  Storefront.prototype.announce = function (message) {
    this.live.textContent = message;
  };

  Storefront.prototype.route = function (userAction) {
    var hash = window.location.hash;
    var match = /^#sf-(c|p)(\d+)$|^#sf-cart$/.exec(hash);
    // A fragment of the owner's own page leaves the shop as it is; none at all is the start.
    if (!match && hash.length > 1 && this.view) return;
    var view = match ? hash : HASH + 'c1';
    if (match && match[1] === 'c' && !this.shop.categories[match[2] - 1]) view = HASH + 'c1';
    if (match && match[1] === 'p' && !this.shop.products[match[2]]) view = HASH + 'c1';
    var previous = this.view;
    if (previous.indexOf(HASH + 'c') === 0) this.scrollOf[previous] = this.body.scrollTop;
    this.view = view;
    this.main.textContent = '';
    var title;
    if (view === HASH + 'cart') title = this.showCart();
    else if (view.charAt(4) === 'p') title = this.showProduct(this.shop.products[view.slice(5)]);
    else title = this.showCategory(this.shop.categories[view.slice(5) - 1], this.scrollOf[view] > 0);
    this.markCurrentCategory();
    // Setting the scroll position lays the page out at once; the first view starts at the top anyway.
    if (previous) this.body.scrollTop = this.scrollOf[view] || 0;
    if (userAction) title.focus({ preventScroll: true });
  };

  Storefront.prototype.markCurrentCategory = function () {
    var product = this.shop.products[this.view.slice(5)];
    var current = this.view.charAt(4) === 'p' && product ? HASH + 'c' + product.category.number : this.view;
    var links = this.nav.getElementsByTagName('a');
    for (var i = 0; i < links.length; i++) {
      if (links[i].getAttribute('href') === current) links[i].setAttribute('aria-current', 'page');
      else links[i].removeAttribute('aria-current');
    }
  };

  function heading(textValue) {
    var h = el('h2', 'sf-heading', textValue);
    h.tabIndex = -1;
    return h;
  }

  // allAtOnce: the buyer comes back to a scrolled grid, whose place must exist at once.
  Storefront.prototype.showCategory = function (category, allAtOnce) {
    var h = heading(category ? category.name : TEXT.allProducts);
    this.main.appendChild(h);
    if (!category || category.products.length === 0) {
      this.main.appendChild(el('p', 'sf-empty', TEXT.emptyCategory));
      return h;
    }
    var grid = el('ul', 'sf-grid');
    this.addCards(grid, category.products, 0, allAtOnce ? category.products.length : FIRST_CARDS);
    this.main.appendChild(grid);
    return h;
  };

  // Runs work once the first frame is painted.
  function afterFirstPaint(work) {
    requestAnimationFrame(function () { setTimeout(work, 0); });
  }

  // The first screenful goes in at once; the rest after the first frame, so a large category
  // shows as fast as a small one.
  Storefront.prototype.addCards = function (grid, products, from, count) {
    var self = this;
    var end = Math.min(products.length, from + count);
    var fragment = document.createDocumentFragment();
    for (var i = from; i < end; i++) fragment.appendChild(this.card(products[i], i >= FIRST_CARDS));
    grid.appendChild(fragment);
    if (end < products.length) {
      afterFirstPaint(function () { if (grid.parentNode) self.addCards(grid, products, end, products.length); });
    }
  };

  // Cards below the first screenful skip layout until they scroll near; the first ones are laid
  // out once, not first as placeholders.
  Storefront.prototype.card = function (product, belowFirstScreen) {
    var shop = this.shop;
    var a = link(HASH + 'p' + product.number, 'sf-card');
    var box = el('span', 'sf-thumb');
    box.style.height = Math.min(shop.thumbHeight, 200) + 'px';
    box.appendChild(this.picture('thumb', product.thumb, '', 'lazy'));
    append(a, box, el('span', 'sf-name', product.name), this.prices(product));
    return append(el('li', belowFirstScreen ? 'sf-later' : ''), a);
  };

  // A picture of the media folder, or the shop's "no image" text when it is missing or broken.
  Storefront.prototype.picture = function (subfolder, file, alt, loading) {
    var noImage = this.shop.noImage;
    if (!file) return el('span', 'sf-missing', noImage);
    var img = el('img');
    img.alt = alt;
    if (loading) img.loading = loading;
    img.decoding = 'async';
    img.onerror = function () {
      if (img.parentNode) img.parentNode.replaceChild(el('span', 'sf-missing', noImage), img);
    };
    img.src = mediaUrl(subfolder, file);
    return img;
  };

  Storefront.prototype.prices = function (product) {
    var box = el('span', 'sf-prices');
    var sale = isDiscounted(product);
    box.appendChild(el('span', sale ? 'sf-price sf-sale' : 'sf-price', this.money(cents(unitPrice(product)))));
    if (sale) {
      var was = el('s', 'sf-was');
      append(was, el('span', 'sf-sr', TEXT.was), document.createTextNode(this.money(cents(product.price))));
      box.appendChild(was);
    }
    return box;
  };

  Storefront.prototype.showProduct = function (product) {
    var self = this;
    var back = link(HASH + 'c' + product.category.number, 'sf-back', TEXT.back + product.category.name);
    var view = el('div', 'sf-product');
    var info = el('div', 'sf-info');
    var h = heading(product.name);
    var facts = el('dl', 'sf-facts');
    append(facts, el('dt', '', TEXT.shipping),
           el('dd', '', product.shipping > 0 ? this.money(cents(product.shipping)) : TEXT.freeShipping));
    if (product.type === 'video' || product.type === 'music') {
      append(facts, el('dt', '', TEXT.duration), el('dd', '', product.duration));
    }

    var form = el('form', 'sf-buy');
    var selects = product.options.map(function (option, index) {
      var id = 'sf-opt-' + product.number + '-' + index;
      var select = el('select');
      select.id = id;
      option.values.forEach(function (value) { select.appendChild(el('option', '', value)); });
      var label = el('label', '', option.name);
      label.htmlFor = id;
      form.appendChild(append(el('div', 'sf-field'), label, select));
      return select;
    });
    var quantity = quantityInput('sf-qty-' + product.number, 1);
    var qtyLabel = el('label', '', TEXT.quantity);
    qtyLabel.htmlFor = quantity.id;
    var status = el('p', 'sf-status');
    append(form, append(el('div', 'sf-actions'), append(el('div', 'sf-field sf-qty'), qtyLabel, quantity),
                        el('button', 'sf-primary', TEXT.add)), status);
    form.onsubmit = function (event) {
      event.preventDefault();
      var choices = selects.map(function (select) { return select.value; });
      self.cart().add(product, choices, clampQuantity(quantity.value));
      self.updateCount();
      status.textContent = TEXT.added + product.name + ' ';
      status.appendChild(link(HASH + 'cart', '', TEXT.viewCart));
      self.announce(TEXT.added + product.name);
    };

    var description = el('p', 'sf-desc', product.description);
    append(info, h, this.prices(product), facts, form, product.description ? description : null);
    append(view, this.productMedia(product), info);
    append(this.main, back, view);
    return h;
  };

  Storefront.prototype.productMedia = function (product) {
    var shop = this.shop;
    var box = el('div', 'sf-media');
    var pictureFile = product.image || product.thumb;
    var pictureFolder = product.image ? 'image' : 'thumb';
    if (product.type === 'video') {
      if (!product.preview) return append(box, el('p', 'sf-missing sf-nomedia', shop.noVideo));
      var video = player('video', mediaUrl('preview', product.preview.replace(/\.flv$/i, '.mp4')),
                         shop.noVideo, product.name);
      if (pictureFile) video.poster = mediaUrl(pictureFolder, pictureFile);
      return append(box, video);
    }
    box.appendChild(this.picture(pictureFolder, pictureFile, product.name));
    if (product.type === 'music') {
      box.appendChild(product.preview ? player('audio', mediaUrl('preview', product.preview), shop.noAudio,
                                               product.name)
                                      : el('p', 'sf-missing sf-nomedia', shop.noAudio));
    }
    return box;
  };

  // An audio or video player that gives way to the shop's "no media" text when the file fails.
  function player(tag, url, missingText, name) {
    var media = el(tag, 'sf-player');
    media.controls = true;
    media.preload = 'metadata';
    media.setAttribute('aria-label', name);
    media.onerror = function () {
      if (media.parentNode) media.parentNode.replaceChild(el('p', 'sf-missing sf-nomedia', missingText), media);
    };
    media.src = url;
    return media;
  }

  function clampQuantity(value) {
    var quantity = Math.floor(Number(value));
    return isFinite(quantity) ? Math.min(Math.max(quantity, 1), MAX_QUANTITY) : 1;
  }

  function quantityInput(id, value) {
    var input = el('input', 'sf-number');
    input.type = 'number';
    input.id = id;
    input.min = '1';
    input.max = String(MAX_QUANTITY);
    input.step = '1';
    input.inputMode = 'numeric';
    input.value = String(value);
    return input;
  }

  Storefront.prototype.showCart = function () {
    var self = this;
    var shop = this.shop;
    var cart = this.cart();
    var h = heading(TEXT.yourCart);
    this.main.appendChild(h);
    if (cart.lines.length === 0) {
      append(this.main, el('p', 'sf-empty', TEXT.emptyCart), link(HASH + 'c1', 'sf-back', TEXT.continueShopping));
      return h;
    }
    var list = el('ul', 'sf-lines');
    cart.lines.forEach(function (line, index) {
      var product = line.product;
      var item = el('li', 'sf-line');
      var about = el('div', 'sf-lineabout');
      append(about, link(HASH + 'p' + product.number, 'sf-linename', product.name));
      if (product.options.length > 0) {
        about.appendChild(el('span', 'sf-lineopts', product.options.map(function (option, i) {
          return option.name + ': ' + line.choices[i];
        }).join(', ')));
      }
      about.appendChild(el('span', 'sf-lineunit', self.money(cents(unitPrice(product))) + TEXT.each));

      var controls = el('div', 'sf-linectl');
      var quantity = quantityInput('sf-line-' + index, line.quantity);
      quantity.setAttribute('aria-label', TEXT.quantity + ', ' + product.name);
      quantity.onchange = function () {
        line.quantity = clampQuantity(quantity.value);
        self.cartChanged('sf-line-' + index);
      };
      var remove = el('button', 'sf-remove', TEXT.remove);
      remove.type = 'button';
      remove.setAttribute('aria-label', TEXT.remove + ' ' + product.name);
      remove.onclick = function () {
        cart.lines.splice(index, 1);
        self.cartChanged(null);
      };
      append(controls, quantity,
             el('span', 'sf-linetotal', self.money(cents(unitPrice(product)) * line.quantity)), remove);
      list.appendChild(append(item, about, controls));
    });

    var totals = cart.totals();
    var sums = el('dl', 'sf-sums');
    append(sums, el('dt', '', TEXT.subtotal), el('dd', 'sf-subtotal', this.money(totals.subtotal)),
           el('dt', '', TEXT.shipping), el('dd', 'sf-shipping', this.money(totals.shipping)),
           el('dt', 'sf-totalword', TEXT.total),
           el('dd', 'sf-total', this.money(totals.total) + ' ' + shop.paymentCurrency));

    var checkout = el('button', 'sf-primary sf-checkout', TEXT.checkout);
    checkout.type = 'button';
    var actions = append(el('div', 'sf-actions'), checkout, link(HASH + 'c1', 'sf-back', TEXT.continueShopping));
    if (!shop.paymentEmail) {
      checkout.disabled = true;
      var reason = el('p', 'sf-reason', TEXT.noPayment);
      reason.id = 'sf-reason';
      checkout.setAttribute('aria-describedby', reason.id);
      actions.appendChild(reason);
    }
    checkout.onclick = function () { self.checkout(); };
    append(this.main, append(el('div', 'sf-cartview'), list, append(el('div', 'sf-summary'), sums, actions)));
    return h;
  };

  Storefront.prototype.cartChanged = function (focusId) {
    this.cart().save();
    this.updateCount();
    this.main.textContent = '';
    var h = this.showCart();
    var target = focusId && document.getElementById(focusId);
    (target || h).focus({ preventScroll: !target });
  };

  Storefront.prototype.checkout = function () {
    if (!this.shop.paymentEmail || this.cart().lines.length === 0) return;
    var form = el('form');
    form.method = 'post';
    form.action = PAYPAL;
    form.acceptCharset = 'UTF-8';
    form.target = '_top';
    form.hidden = true;
    this.cart().checkoutFields().forEach(function (field) {
      var input = el('input');
      input.type = 'hidden';
      input.name = field[0];
      input.value = field[1];
      form.appendChild(input);
    });
    this.root.appendChild(form);
    form.submit();
    this.root.removeChild(form);
  };

  // ---- start: the shop takes the movie's place at once, and fills it when styles and catalogue are in ----

  function loadStyles(done) {
    var sheet = document.createElement('link');
    sheet.rel = 'stylesheet';
    sheet.href = folder + 'storefront.css';
    sheet.onload = sheet.onerror = function () { done(); };
    (document.head || document.documentElement).appendChild(sheet);
  }

  function loadCatalogue(done) {
    if (window.TrovecartShopData) return done(window.TrovecartShopData);
    var tag = document.createElement('script');
    // A fresh copy each visit: a cached catalogue would sell at yesterday's prices.
    tag.src = folder + 'shopdata.js?' + Date.now();
    tag.onload = function () { done(window.TrovecartShopData || null); };
    tag.onerror = function () { done(null); };
    (document.head || document.documentElement).appendChild(tag);
  }

  // Hidden before the page is laid out again, the movie never gets the browser's missing-plugin
  // box, whose making slows the first paint; its size is held until the shop is built. Reading
  // any property of the <object> itself would lay the page out and make that box, so the DOM's
  // own functions are called on it instead.
  function place() {
    var root = el('div');
    var movie = document.getElementById('shoppingcart');
    if (movie instanceof HTMLObjectElement) {
      domProperty(Node.prototype, 'parentNode', movie).insertBefore(root, movie);
      domProperty(HTMLElement.prototype, 'style', movie).display = 'none';
      root.style.width = pixels(Element.prototype.getAttribute.call(movie, 'width'));
      root.style.height = pixels(Element.prototype.getAttribute.call(movie, 'height'));
    } else if (script && script.parentNode) {
      script.parentNode.insertBefore(root, script);
    } else {
      document.body.appendChild(root);
    }
    return root;
  }

  function domProperty(prototype, name, node) {
    return Object.getOwnPropertyDescriptor(prototype, name).get.call(node);
  }

  function pixels(length) {
    var value = parseFloat(length);
    return value > 0 ? value + 'px' : '';
  }

  var root = place();
  var pending = 2;
  var catalogue = null;
  function ready() {
    if (--pending > 0) return;
    if (!catalogue) {
      root.style.cssText = '';
      root.className = 'sf sf-failed';
      root.appendChild(el('p', 'sf-empty', TEXT.noCatalogue));
      return;
    }
    var storefront = new Storefront(readShop(catalogue), root);
    storefront.route(false);
    window.addEventListener('hashchange', function () { storefront.route(true); });
    if (window.performance && performance.mark) performance.mark('storefront-ready');
    afterFirstPaint(function () {
      storefront.updateCount();
      root.setAttribute('data-state', 'ready');
    });
  }

  loadStyles(ready);
  loadCatalogue(function (data) {
    catalogue = data;
    ready();
  });
})();
