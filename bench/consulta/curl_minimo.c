#include "curl_minimo.h"

#include <curl/curl.h>
#include <stdlib.h>
#include <string.h>

struct corpo {
  char* dados;
  size_t tamanho;
  size_t capacidade;
};

static size_t guardar(char* dados, size_t tamanho, size_t quantidade, void* usuario) {
  struct corpo* c = usuario;
  size_t n = tamanho * quantidade;
  if (c->tamanho + n > c->capacidade) {
    size_t nova = c->capacidade ? c->capacidade * 2 : 16384;
    while (nova < c->tamanho + n) nova *= 2;
    char* maior = realloc(c->dados, nova);
    if (!maior) return 0;
    c->dados = maior;
    c->capacidade = nova;
  }
  memcpy(c->dados + c->tamanho, dados, n);
  c->tamanho += n;
  return n;
}

long ConsultaCurlMinima(const char* url, const char* certificado, const char* ca_file,
                        size_t* tamanho) {
  CURL* curl = curl_easy_init();
  struct curl_slist* cabecalhos = curl_slist_append(NULL, "Accept: application/json");
  struct corpo c = {NULL, 0, 0};
  long status = -1;
  curl_easy_setopt(curl, CURLOPT_URL, url);
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, cabecalhos);
  curl_easy_setopt(curl, CURLOPT_SSLCERT, certificado);
  curl_easy_setopt(curl, CURLOPT_SSLCERTTYPE, "P12");
  curl_easy_setopt(curl, CURLOPT_KEYPASSWD, "");
  curl_easy_setopt(curl, CURLOPT_CAINFO, ca_file);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, guardar);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &c);
  if (curl_easy_perform(curl) == CURLE_OK) curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  *tamanho = c.tamanho;
  free(c.dados);
  curl_slist_free_all(cabecalhos);
  curl_easy_cleanup(curl);
  return status;
}
