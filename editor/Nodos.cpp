#include "editor/Nodos.h"

namespace xel {

ImageList ImagenesDelArbol() {
  return {"General", "SEGURIDAD", "Variable", "STOP"};
}

Node AgregaRaiz(TreeNodes& nodos) {
  Node raiz = nodos.Add({}, tvw::Last, kClaveRaiz, kTextoRaiz, imagen::Abierta);
  raiz.SetChecked(true);
  return raiz;
}

Node AgregaEntrada(TreeNodes& nodos, const NodeLocator& padre, TipoDeNodo tipo,
                   const std::string& codigo, const std::string& texto) {
  Node nodo = nodos.Add(padre, tvw::Child, ClaveDeNodo(codigo), texto,
                        tipo == TipoDeNodo::Clase ? imagen::Cerrada : imagen::Variable);
  nodo.SetTag(codigo);
  return nodo;
}

std::string DescribeEntrada(const Node& nodo) {
  if (EsRaiz(nodo)) {
    return "la raíz " + nodo.Text();
  }
  return DescribeEntrada(EsVariable(nodo) ? TipoDeNodo::Variable : TipoDeNodo::Clase, nodo.Tag(),
                         nodo.Text(), nodo.Parent());
}

std::string DescribeEntrada(TipoDeNodo tipo, const std::string& codigo, const std::string& texto,
                            const Node& padre) {
  if (tipo == TipoDeNodo::Variable) {
    return "la variable " + codigo + " de " + DescribeEntrada(padre);
  }
  return "la clase " + codigo + " (" + texto + ")";
}

}  // namespace xel
